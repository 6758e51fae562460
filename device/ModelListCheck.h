#pragma once
#include <QString>

// What start-up finds wrong with the model list (usersetting/Config.ini). Without a usable list no
// device is recognised, and a group that DeviceTotal promises but the file lacks leaves that model's
// devices unknown; both are told to the user instead of a page that silently shows nothing.
struct ModelListProblem
{
    enum Kind {
        None,
        Missing,      // no file at the path
        Unreadable,   // not a regular file, or it cannot be opened
        Garbled,      // no model count: [Option] DeviceTotal is absent, not a number or below 1
        GroupMissing, // a group "Drive" + n (1..DeviceTotal) is absent or lacks a key every model has
    };
    Kind kind = None;
    QString path;
    // GroupMissing: the first group found wanting, and the model count the file promises.
    QString group;
    int promised = 0;

    bool Damaged() const { return kind != None; }
};

// Reads the model list at path (the store's own file when empty) on its own, without the store.
ModelListProblem CheckModelList(const QString& path = QString());

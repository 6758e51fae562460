#pragma once
#include <QString>
#include <QVariant>

// Values the program keeps under its own registry key, stored in an ini file in the user's
// configuration folder. A key path such as "HKEY_CURRENT_USER\Software\Kestro plus\Mouse Drive Test"
// becomes the group "Software/Kestro plus/Mouse Drive Test" of that file; the hive name is dropped.
class RegistryStore
{
public:
    explicit RegistryStore(const QString& keyPath);

    QVariant Value(const QString& name, const QVariant& fallback = QVariant()) const;
    void SetValue(const QString& name, const QVariant& value);
    void Remove(const QString& name);
    bool Contains(const QString& name) const;

    // The file all keys are kept in.
    static QString FilePath();
    // The group a registry key path maps to.
    static QString GroupOf(const QString& keyPath);

private:
    // The name's key in the file: group + "/" + name.
    QString Key(const QString& name) const;

    QString group;
};

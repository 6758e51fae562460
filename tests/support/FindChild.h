#pragma once
#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A named child a test cannot do without: a missing one ends the test program at once.
template <typename T>
T* Child(const QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

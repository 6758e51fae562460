#pragma once
#include <QtTest>

// The rows of a test run once per shipped language (a picture test, a text test): the column
// "language" with the language's index.
inline void LanguageRows()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
    QTest::newRow("Russian") << 2;
}

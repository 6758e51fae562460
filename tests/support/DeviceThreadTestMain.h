#pragma once
#include "device/DeliveryMarkedApplication.h"

#include <QApplication>
#include <QtTest>

// The main of a widget test whose records arrive from device threads: its application marks Qt's
// hand-overs between threads, so that ThreadSanitizer sees the order Qt gives them.
#define KESTRO_DEVICE_THREAD_TEST_MAIN(TestObject)                           \
    int main(int argc, char* argv[])                                         \
    {                                                                        \
        DeliveryMarkedApplication<QApplication> application(argc, argv);     \
        application.setAttribute(Qt::AA_Use96Dpi, true);                     \
        TestObject test;                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                           \
        return QTest::qExec(&test, argc, argv);                              \
    }

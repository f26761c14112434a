#pragma once

#include <QApplication>
#include <QTest>

#include "TestClassRegistry.h"

// Several Qt Test classes share one program, which is compiled once instead of once per class.
// It runs the class named first on its command line, as that class's own QTEST_MAIN would: one
// process, one application and one CTest test per class. The rest of the command line is Qt
// Test's, so `ui_tests MeanTest -functions` works as `MeanTest -functions` did.
namespace one_test_of_many {

template <typename TestClass>
int runInApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

template <typename TestClass>
int runWithoutApplication(int argc, char** argv) {
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

}  // namespace one_test_of_many

// In place of QTEST_MAIN and QTEST_APPLESS_MAIN.
#define QUILVANE_TEST_MAIN(TestClass)                     \
    [[maybe_unused]] static const bool TestClass##Added = \
        one_test_of_many::add(#TestClass, one_test_of_many::runInApplication<TestClass>);
#define QUILVANE_TEST_APPLESS_MAIN(TestClass)             \
    [[maybe_unused]] static const bool TestClass##Added = \
        one_test_of_many::add(#TestClass, one_test_of_many::runWithoutApplication<TestClass>);

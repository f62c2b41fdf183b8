#pragma once
// Support for Tavo's GUI tests and GUI benchmarks.
//
//   KORVEL_TEST_MAIN(TestClass)   use instead of QTEST_MAIN: runs the test in a
//                                 temporary HOME / XDG_CONFIG_HOME (so settings
//                                 and the control registry never touch the
//                                 user's), on the offscreen platform unless
//                                 QT_QPA_PLATFORM is set, with the grid
//                                 control registered.
//   RegisterGridControlForTests() loads $KORVEL_BIN_DIR/Msflxgrd.ocx (or the
//                                 build's bin folder) and calls its
//                                 DllRegisterServer; true on success.
#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QtTest/QtTest>
#include <memory>
#include <string>

namespace korvel::test {

// Points HOME and the XDG folders at a fresh temporary folder, removed again
// when the object goes. Must exist before the QApplication.
class IsolatedHome {
public:
    IsolatedHome();
    ~IsolatedHome();
    QString Path() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Sets QT_QPA_PLATFORM=offscreen unless it is set already.
void UseOffscreenPlatformByDefault();

// The grid control module file of this build.
QString GridControlModulePath();
bool RegisterGridControlForTests();

}  // namespace korvel::test

// Grid texts are std::string: show them readably when a QCOMPARE fails.
namespace QTest {
template <>
inline char* toString(const std::string& text)
{
    return toString(QByteArray::fromStdString(text));
}
}  // namespace QTest

#define KORVEL_TEST_MAIN(TestClass)                                                                                    \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        korvel::test::IsolatedHome isolatedHome;                                                                       \
        korvel::test::UseOffscreenPlatformByDefault();                                                                 \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        if (!korvel::test::RegisterGridControlForTests())                                                              \
            qWarning("the grid control could not be registered");                                                      \
        TestClass testObject;                                                                                          \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&testObject, argc, argv);                                                                  \
    }

#pragma once
// Shared by the application shell's tests: message boxes answered and
// recorded without a display, and worksheet documents written to disk.
#include "gui/framework/FileDialogs.h"
#include "gui/framework/MessageBox.h"
#include "support/MessageBoxRecorder.h"

#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"
#include "gui/worksheet/TavoDoc.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest/QtTest>

#include <deque>
#include <vector>

namespace korvel::apptest {

using RecordedBoxes = korvel::test::MessageBoxRecorder;

// One share named name with the returns 1.5, 2 and -0.5, Min Return 1.
inline QByteArray OneShareDocument(const QByteArray& name)
{
    QByteArray bytes = QByteArray::fromHex("0200000005000000"
                                           "0131");
    bytes.append(char(name.size())).append(name);
    bytes.append(QByteArray::fromHex("03312E35"
                                     "0132"
                                     "042D302E35"));
    return bytes;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A document with its main frame and view, built and shown as start-up does.
struct ShownFrame {
    CTavoDoc document;
    CMainFrame frame;

    bool Show()
    {
        if (!frame.Create(&document) || !document.FileNew())
            return false;
        frame.resize(900, 700);
        frame.show();
        return QTest::qWaitForWindowExposed(&frame);
    }
};

// Tavo as it starts: a new worksheet in the shown, active main window.
struct StartedTavo {
    CTavoApp app;
    CMainFrame* frame = nullptr;
    CTavoView* view = nullptr;
    CTavoDoc* doc = nullptr;

    StartedTavo()
    {
        app.SetExecutableDir(QStringLiteral(KORVEL_BIN_DIR));
        if (!app.InitInstance({}))
            qFatal("Tavo did not start");
        frame = app.MainFrame();
        view = frame->GetActiveView();
        doc = app.Document();
        frame->activateWindow();
        if (!QTest::qWaitForWindowActive(frame))
            qWarning("the main window did not become active");
    }
};

}  // namespace korvel::apptest

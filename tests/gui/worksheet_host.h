#pragma once
// A window that holds the worksheet view and its document the way the main
// frame does, and answers message boxes and file dialogs without a display.
#include "core/worksheet/DocumentFormat.h"
#include "gui/framework/FileDialogs.h"
#include "gui/framework/MessageBox.h"
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"
#include "support/FormControls.h"
#include "support/MessageBoxRecorder.h"

#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QtTest/QtTest>

#include <sys/resource.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace korvel::test {

// Answers the Open and Save As dialogs with the next path of a queue ("" = cancel).
class FileDialogAnswers {
public:
    FileDialogAnswers()
    {
        SetFileDialogPresenter([this](QWidget*, FileDialogKind kind, const QString&) {
            kinds.push_back(kind);
            if (paths.empty())
                return QString();
            const QString path = paths.front();
            paths.pop_front();
            return path;
        });
    }
    ~FileDialogAnswers() { SetFileDialogPresenter({}); }

    std::deque<QString> paths;
    std::vector<FileDialogKind> kinds;
};

// The view shown at 800 x 600 with a new document in it.
class WorksheetHost {
public:
    WorksheetHost()
    {
        view = std::make_unique<CTavoView>(&document);
        created = view->Create();
        view->resize(800, 600);
        view->show();
        document.FileNew();
    }

    const CMSFlexGrid& Grid() const { return view->Grid(); }
    CCellEdit* CellEdit() { return korvel::test::CellBox(*view); }

    void SetShares(int shares) { view->SetShareCount(shares); }
    void SetPeriods(int periods) { view->SetPeriodCount(periods); }
    void MakeCurrent(int32_t row, int32_t col) { view->MakeCurrent(row, col); }

    CTavoDoc document;
    std::unique_ptr<CTavoView> view;
    bool created = false;
};

inline std::string Bytes(const QByteArray& data)
{
    return std::string(data.constData(), data.size());
}

inline QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray DocumentBytes(const korvel::WorksheetTable& table)
{
    const std::vector<uint8_t> bytes = korvel::doc::SaveDocument(table);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline bool WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Saves with the process's file-size limit at `limit` bytes, so that the
// write fails as on a full disk, for root too; the limit is put back after.
inline bool SaveUnderFileSizeLimit(CTavoDoc& document, rlim_t limit)
{
    rlimit original{};
    if (getrlimit(RLIMIT_FSIZE, &original) != 0)
        qFatal("no file-size limit to read");
    rlimit tight = original;
    tight.rlim_cur = limit;
    if (setrlimit(RLIMIT_FSIZE, &tight) != 0)
        qFatal("the file-size limit cannot be set");
    const bool saved = document.FileSave();
    setrlimit(RLIMIT_FSIZE, &original);
    return saved;
}

}  // namespace korvel::test

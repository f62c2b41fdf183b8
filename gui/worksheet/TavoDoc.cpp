// The document's flag, name and its New, Open, Save and Save As.
#include "gui/worksheet/TavoDoc.h"

#include "core/files/FileReplace.h"
#include "core/worksheet/DocumentFormat.h"
#include "gui/framework/CmdUI.h"
#include "gui/framework/FileDialogs.h"
#include "gui/framework/MessageBox.h"
#include "gui/worksheet/TavoView.h"

#include <QFile>
#include <QFileInfo>

#include <exception>
#include <span>
#include <vector>

CTavoDoc::CTavoDoc(QObject* parent) : QObject(parent) {}

void CTavoDoc::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(m_modified);
}

QString CTavoDoc::GetTitle() const
{
    return m_pathName.isEmpty() ? tr("Untitled") : QFileInfo(m_pathName).fileName();
}

void CTavoDoc::SetPathName(const QString& path)
{
    const QString title = GetTitle();
    m_pathName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (GetTitle() != title)
        emit TitleChanged(GetTitle());
}

bool CTavoDoc::OnNewDocument()
{
    SetPathName(QString());
    SetModifiedFlag(false);
    return true;
}

void CTavoDoc::OnUpdateFileSave(korvel::CCmdUI* cmdUI) const
{
    cmdUI->Enable(IsModified());
}

bool CTavoDoc::SaveModified()
{
    if (!IsModified())
        return true;
    const int answer = korvel::MessageBox(m_view, tr("Save changes to %1?").arg(GetTitle()), {},
                                          korvel::MbButtons::YesNoCancel, korvel::MbIcon::Question);
    if (answer == korvel::IDYES)
        return FileSave();
    return answer == korvel::IDNO;
}

bool CTavoDoc::FileNew()
{
    if (!SaveModified() || !OnNewDocument())
        return false;
    if (m_view)
        m_view->OnInitialUpdate();
    return true;
}

bool CTavoDoc::FileOpen()
{
    const QString path =
        korvel::ChooseDocumentPath(m_view, korvel::FileDialogKind::Open, QFileInfo(m_pathName).absolutePath());
    return !path.isEmpty() && OpenDocumentFile(path);
}

bool CTavoDoc::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    const bool wasModified = IsModified();  // the user may have chosen not to save
    SetModifiedFlag(false);
    if (!OnOpenDocument(path)) {
        // A load that failed part-way has changed the worksheet, so it can no
        // longer stand for the document it came from.
        if (IsModified())
            OnNewDocument();
        else
            SetModifiedFlag(wasModified);
        return false;
    }
    SetPathName(path);
    if (m_view)
        m_view->OnInitialUpdate();
    emit DocumentPathUsed(m_pathName);
    return true;
}

bool CTavoDoc::FileSave()
{
    if (m_pathName.isEmpty())
        return FileSaveAs();
    return OnSaveDocument(m_pathName);
}

bool CTavoDoc::FileSaveAs()
{
    const QString suggested = m_pathName.isEmpty() ? GetTitle() : m_pathName;
    const QString path = korvel::ChooseDocumentPath(m_view, korvel::FileDialogKind::SaveAs, suggested);
    if (path.isEmpty() || !OnSaveDocument(path))
        return false;
    SetPathName(path);
    return true;
}

bool CTavoDoc::OnOpenDocument(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!korvel::doc::ReadFileBytes(path.toStdString(), bytes, reason)) {
        korvel::MessageBox(m_view,
                           tr("Cannot open the document \"%1\".\n%2.").arg(name, QString::fromStdString(reason)), {},
                           korvel::MbButtons::Ok, korvel::MbIcon::Warning);
        return false;
    }
    // Modified while being read: a failure from here on has touched the worksheet.
    SetModifiedFlag(true);
    if (!bytes.empty() && m_view) {
        switch (ShowLoaded(korvel::doc::LoadDocument(bytes))) {
        case LoadOutcome::Loaded:
            break;
        case LoadOutcome::CountsOutOfRange:
            korvel::MessageBox(m_view,
                               tr("Failed to open the document \"%1\".\nIts numbers of shares and periods "
                                  "are out of range.")
                                   .arg(name),
                               {}, korvel::MbButtons::Ok, korvel::MbIcon::Warning);
            return false;
        case LoadOutcome::ShortFile:
            // The box still shows the cell of the worksheet before the load;
            // the next keystroke would write that old text over the cell.
            m_view->LoadCellEdit();
            korvel::MessageBox(m_view,
                               tr("Unexpected file format.\n\"%1\" ends before the worksheet it "
                                  "describes.")
                                   .arg(name),
                               {}, korvel::MbButtons::Ok, korvel::MbIcon::Warning);
            return false;
        }
    }
    SetModifiedFlag(false);
    return true;
}

bool CTavoDoc::OnSaveDocument(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QString reason;
    if (!WriteDocument(path, reason)) {
        korvel::MessageBox(m_view, tr("Cannot save the document \"%1\".\n%2").arg(name, reason), {},
                           korvel::MbButtons::Ok, korvel::MbIcon::Warning);
        return false;
    }
    SetModifiedFlag(false);
    emit DocumentPathUsed(QFileInfo(path).absoluteFilePath());
    return true;
}

bool CTavoDoc::WriteDocument(const QString& path, QString& reason)
{
    if (!m_view) {
        reason = tr("There is no worksheet to save.");
        return false;
    }
    korvel::doc::DocumentWriter out;
    try {
        Serialize(out);
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
        return false;
    }
    std::string why;
    if (!korvel::files::ReplaceFile(QFile::encodeName(path).toStdString(), out.Bytes(), why)) {
        reason = QString::fromLocal8Bit(why.c_str()) + QLatin1Char('.');
        return false;
    }
    return true;
}

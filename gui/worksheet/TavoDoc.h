#pragma once
// CTavoDoc: the one document. It holds no worksheet of its own: it stores and
// loads the view's grid and Min Return text, and carries the modified flag.
// It also carries the document side of New, Open, Save and Save As.
#include <QObject>
#include <QString>

class CTavoView;

namespace korvel {
class CCmdUI;
}
namespace korvel::doc {
class DocumentWriter;
struct LoadResult;
}  // namespace korvel::doc

class CTavoDoc : public QObject {
    Q_OBJECT
public:
    explicit CTavoDoc(QObject* parent = nullptr);

    void SetView(CTavoView* view) { m_view = view; }
    CTavoView* GetFirstView() const { return m_view; }

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // Full path of the file, empty for a new document.
    QString GetPathName() const { return m_pathName; }
    // The file name, or the default name of an unnamed document ("Untitled").
    QString GetTitle() const;

    virtual bool OnNewDocument();

    // The framework's document commands. Each asks to save a modified
    // document first where the user would expect it; false when it did not
    // happen (cancelled, or failed with a message already shown).
    bool FileNew();
    bool OpenDocumentFile(const QString& path);
    bool FileOpen();  // asks for a path, then OpenDocumentFile
    bool FileSave();
    bool FileSaveAs();
    bool SaveModified();  // "save changes?" prompt; false means cancel

    void OnUpdateFileSave(korvel::CCmdUI* cmdUI) const;

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged(const QString& title);
    // A document was opened from or saved to path (feeds the recent-file list).
    void DocumentPathUsed(const QString& path);

protected:
    void SetPathName(const QString& path);
    bool OnOpenDocument(const QString& path);
    bool OnSaveDocument(const QString& path);
    void Serialize(korvel::doc::DocumentWriter& out);
    // Throws nothing: reports a short file or counts out of range by its result.
    enum class LoadOutcome { Loaded, ShortFile, CountsOutOfRange };
    LoadOutcome ShowLoaded(const korvel::doc::LoadResult& loaded);

private:
    // The worksheet's bytes into path, the previous file kept should the
    // write fail; false with the reason when the file could not be written.
    bool WriteDocument(const QString& path, QString& reason);

    CTavoView* m_view = nullptr;
    QString m_pathName;
    bool m_modified = false;
};

#include "gui/resources/CommandStrings.h"

#include "gui/resources/CommandIds.h"

namespace korvel {
namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Kept exactly as the program has always shown them, blanks included.
constexpr StringEntry kStrings[] = {
    {IDR_MAINFRAME, "Korvel\n\nKorvel\n\n\nTavo.Document\nTavo Document"},
    {AFX_IDS_APP_TITLE, "Korvel"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE4, "Open this document"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_GO, "Start finding solution\n Go"},
    {ID_DELETE_PERIOD, "Move one period left\nDelete period"},
    {ID_ANALYSE, "Single analysis\nAnalyse"},
    {ID_INSERT_SHARE, "Insert new share\nInsert share"},
    {ID_DELETE_SHARE, "Delete a share\nDel share"},
    {ID_VIEW_TOOLBAR, "Show or hide the main toolbar\nToggle main toolBar"},
    {ID_TOGGLE_ACTION_BAR, "Show or hide  the action toolbar\n Toggle action toolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_SYSMENU_SIZE, "Change the window size"},
    {ID_SYSMENU_MOVE, "Change the window position"},
    {ID_SYSMENU_MINIMIZE, "Reduce the window to an icon"},
    {ID_SYSMENU_MAXIMIZE, "Enlarge the window to full size"},
    {ID_SYSMENU_RESTORE, "Restore the window to normal size"},
    {ID_SYSMENU_CLOSE, "Close the active window and prompts to save the documents"},
};

}  // namespace

QString LoadString(int id)
{
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id)
            return QString::fromLatin1(entry.text);
    }
    return {};
}

QString CommandPrompt(int id)
{
    const QString text = LoadString(id);
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
    return lineBreak < 0 ? text : text.left(lineBreak);
}

QString CommandTooltip(int id)
{
    const QString text = LoadString(id);
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
    return lineBreak < 0 ? QString() : text.mid(lineBreak + 1);
}

}  // namespace korvel

#pragma once
// Texts that cross between the document's bytes and the form's text boxes.
#include <QString>

#include <string>

class QLineEdit;

namespace korvel {

inline constexpr int kLineEditCeiling = 32767;  // QLineEdit's own largest limit

// A document text as the form shows it, the way the grid shows its cells:
// UTF-8, and Windows-1252 for bytes that are not UTF-8.
QString DisplayTextFromBytes(const std::string& bytes);

// What a text box can hold of text: all of it up to the box's ceiling.
QString ShownText(const QString& text);

// Puts text into the box whole, then limits typing to `limit` characters, or
// to the text's own length when that is longer: a limit only stops typing, it
// never cuts a text that came from a file.
void SetTextKeepingWhole(QLineEdit* edit, const QString& text, int limit);

}  // namespace korvel

#include "gui/worksheet/FieldText.h"

#include "core/grid/DisplayText.h"

#include <QLineEdit>

#include <algorithm>
#include <string>

namespace korvel {

QString DisplayTextFromBytes(const std::string& bytes)
{
    // Decoded as the grid shows the cell, but whole: the box may edit all of it.
    std::u16string units;
    grid::DecodeForDisplay(bytes, units, std::u16string::npos);
    return QString::fromStdU16String(units);
}

QString ShownText(const QString& text)
{
    return text.size() > kLineEditCeiling ? text.left(kLineEditCeiling) : text;
}

void SetTextKeepingWhole(QLineEdit* edit, const QString& text, int limit)
{
    // setText and setMaxLength both cut to the current limit, so lift it first.
    if (edit->maxLength() != kLineEditCeiling)
        edit->setMaxLength(kLineEditCeiling);
    edit->setText(text);
    const int whole = std::clamp(std::max(limit, static_cast<int>(text.size())), 1, kLineEditCeiling);
    if (edit->maxLength() != whole)
        edit->setMaxLength(whole);
}

}  // namespace korvel

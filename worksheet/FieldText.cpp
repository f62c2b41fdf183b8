#include "worksheet/FieldText.h"

#include "worksheet/CellTextCodec.h"

#include <QLineEdit>

#include <algorithm>

namespace korvel {

namespace {
constexpr int kLineEditCeiling = 32767;  // QLineEdit's own largest limit
}

QString DisplayTextFromBytes(const std::string& bytes)
{
    const std::string utf8 = CellBytesToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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

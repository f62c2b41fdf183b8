#include "core/analysis/ReturnText.h"

#include "core/text/NumberText.h"

namespace korvel {

std::optional<double> ReadReturnText(std::string_view text)
{
    double value = 0.0;
    if (!text::ReadsAsWorksheetNumber(text, value, text::NumberBlanks::AtEitherEnd))
        return std::nullopt;
    return value;
}

}  // namespace korvel

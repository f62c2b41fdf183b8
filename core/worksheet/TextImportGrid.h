#pragma once
// What the text reader holds between reading the text and filling the
// worksheet: every share's values by period, where each was read, and which
// shares and periods the options keep.
#include "core/worksheet/TextImport.h"

#include <optional>

namespace korvel::text {

struct Place {
    int line = 0;
    int field = 0;
};

// The counts against the limits' maxima, which the lines read so far may
// already pass (values: per share, prices or returns as the options say).
// Each place names where its count is passed: shares, periods, all values.
bool CheckCountMaxima(const TextOptions& options, const TextLimits& limits, int32_t shares, int32_t values,
                      Place sharePlace, Place periodPlace, Place valuePlace, TextError& error);

class ImportGrid {
public:
    // byColumn: a period per line, a share per field; else the other way round.
    // numeric: returns are kept as numbers, for the TextReturns, not as cells.
    ImportGrid(const TextOptions& options, const TextLimits& limits, bool byColumn, bool numeric = false);

    // Checks the counts against the limits before anything is stored.
    bool Start(int32_t shares, int32_t values, Place sharePlace, Place periodPlace, TextError& error);
    // The line of the header row, which holds the names or the dates.
    void SetHeaderLine(int line) { m_headerLine = line; }
    // at: the field (one column per share) or line (one row per share) it was read from.
    void SetShare(int32_t share, std::string name, int at);
    void SetPeriod(int32_t index, std::string date, int at);
    void SetCell(int32_t share, int32_t index, std::string cell)
    {
        m_sheet.SetTextMatrix(share + 1, index + 2, std::move(cell));
    }
    // A price, or a return when the grid keeps numbers; NaN: none.
    void SetNumber(int32_t share, int32_t index, double number) { m_numbers[Slot(share, index)] = number; }
    bool KeepsNumbers() const { return m_options.prices || m_numeric; }

    Place PlaceOf(int32_t share, int32_t index) const;
    // "AAA on 2024-01-12", or "AAA, value 3" without dates.
    std::string Where(int32_t share, int32_t index) const;
    int32_t MaxShares() const { return m_limits.maxShares; }
    const TextLimits& Limits() const { return m_limits; }
    const TextOptions& Options() const { return m_options; }

    // The order of the dates, the window, the choice of shares and the gaps.
    bool Shape(TextDetails& details, TextError& error);
    bool Finish(WorksheetTable& table, TextDetails& details, TextError& error);
    bool Finish(TextReturns& returns, TextDetails& details, TextError& error);

private:
    size_t Slot(int32_t share, int32_t index) const { return static_cast<size_t>(share) * m_values + index; }
    bool Missing(int32_t share, int32_t index) const;
    bool CheckTwins(TextError& error) const;
    bool ReadDays(bool needed, TextError& error);
    bool CheckOrder(TextDetails& details, TextError& error);
    bool TakeWindow(TextError& error);
    std::vector<int32_t> ClosingLines(const std::vector<int32_t>& kept) const;
    bool ChooseShares(TextError& error);
    bool CloseGaps(TextDetails& details, TextError& error);
    bool CheckPeriods(TextError& error) const;
    void NoteLikelyPrices(TextDetails& details) const;

    const TextOptions& m_options;
    const TextLimits& m_limits;
    bool m_byColumn;
    bool m_numeric;
    int m_headerLine = 1;
    int32_t m_values = 0;
    std::vector<std::string> m_names;
    std::vector<int> m_shareAt;
    std::vector<std::string> m_dates;  // empty: the text has none
    std::vector<int> m_periodAt;
    std::vector<int64_t> m_days;                   // the dates read, when every one reads
    DateFormat m_dateFormat = DateFormat::Detect;  // as they were read
    // Returns as text, already where the worksheet holds them, so that a text
    // read whole is handed over without a second copy.
    WorksheetTable m_sheet{0, 0};
    const std::string& Cell(int32_t share, int32_t index) const { return m_sheet.TextMatrix(share + 1, index + 2); }
    bool KeepsEverything() const;
    bool PriceChange(int32_t share, int32_t p, double& change, TextError& error) const;
    void KeptDates(TextDetails& details) const;
    std::vector<double> m_numbers;  // prices, or returns when numeric; NaN: missing
    std::vector<int32_t> m_keptShares, m_keptValues;
};

}  // namespace korvel::text

#include "core/backtest/PartFile.h"

#include "core/backtest/Schedule.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <charconv>

namespace korvel::backtest {
namespace {

constexpr std::string_view kMagic = "korvel-backtest part 1";

// A name or a date on a line of its own: only the line's own breaks and the
// escape itself are escaped, every other byte stays as it is.
std::string Escaped(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool Unescaped(std::string_view text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        if (text[i] == '\\')
            out += '\\';
        else if (text[i] == 'n')
            out += '\n';
        else if (text[i] == 'r')
            out += '\r';
        else
            return false;
    }
    return true;
}

void AppendNumbers(std::string& out, std::string_view key, const std::vector<double>& values)
{
    out += key;
    for (double value : values)
        out += " " + text::ShortestText(value);
    out += "\n";
}

void AppendRebalance(std::string& out, const Rebalance& r)
{
    out += "rebalance " + std::to_string(r.at) + " " + (r.reached ? "1" : "0") + "\n";
    AppendNumbers(out, "target", r.strategy.target);
    AppendNumbers(out, "returns", r.strategy.returns);
    AppendNumbers(out, "drifted", r.strategy.drifted);
    AppendNumbers(out, "equal-returns", r.equal.returns);
    AppendNumbers(out, "equal-drifted", r.equal.drifted);
}

// The lines of a part, read in order; each failure names its line.
class PartReader {
public:
    explicit PartReader(std::string_view text) : m_rest(text) {}

    bool Fail(const std::string& what)
    {
        m_error = "line " + std::to_string(m_line) + ": " + what;
        return false;
    }
    const std::string& Error() const { return m_error; }
    bool AtEnd() const { return m_rest.empty(); }

    // The next line, which must start with key and a space (or be key alone).
    bool Line(std::string_view key, std::string_view& value)
    {
        if (m_rest.empty()) {
            ++m_line;
            return Fail("the part ends before its \"" + std::string(key) + "\" line");
        }
        const size_t end = m_rest.find('\n');
        if (end == std::string_view::npos)
            return ++m_line, Fail("the part's last line has no line break: the file is cut short");
        std::string_view line = m_rest.substr(0, end);
        m_rest.remove_prefix(end + 1);
        ++m_line;
        if (line.substr(0, key.size()) != key || (line.size() > key.size() && line[key.size()] != ' '))
            return Fail("\"" + std::string(key) + "\" expected");
        value = line.size() > key.size() ? line.substr(key.size() + 1) : std::string_view();
        return true;
    }
    // Lines left: no count may ask for more lines than the text still has.
    size_t LinesLeft() const { return static_cast<size_t>(std::count(m_rest.begin(), m_rest.end(), '\n')); }

    bool Integers(std::string_view key, std::vector<int32_t>& values, size_t count)
    {
        return Values(key, values, count, "is no count", [](std::string_view word, int32_t& value) {
            const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
            return ec == std::errc() && ptr == word.data() + word.size() && value >= 0;
        });
    }
    bool Numbers(std::string_view key, std::vector<double>& values, size_t count)
    {
        return Values(key, values, count, "is no finite number", [](std::string_view word, double& value) {
            return !word.empty() && text::ReadsAsWorksheetNumber(word, value);
        });
    }
    bool Text(std::string_view key, std::string& value)
    {
        std::string_view line;
        return Line(key, line) && (Unescaped(line, value) || Fail("a broken \\ escape"));
    }
    bool Texts(std::string_view key, std::string_view each, std::vector<std::string>& values)
    {
        std::vector<int32_t> count;
        if (!Integers(key, count, 1))
            return false;
        if (static_cast<size_t>(count[0]) > LinesLeft())
            return Fail("more lines announced than the part holds");
        values.resize(static_cast<size_t>(count[0]));
        for (std::string& value : values)
            if (!Text(each, value))
                return false;
        return true;
    }

private:
    // The line's words, each read by readOne; exactly count of them.
    template <typename T, typename ReadOne>
    bool Values(std::string_view key, std::vector<T>& values, size_t count, const char* fault, ReadOne readOne)
    {
        std::string_view line;
        if (!Line(key, line))
            return false;
        values.clear();
        while (!line.empty()) {
            const size_t end = std::min(line.find(' '), line.size());
            T value{};
            if (!readOne(line.substr(0, end), value))
                return Fail("\"" + std::string(line.substr(0, end)) + "\" " + fault);
            values.push_back(value);
            line.remove_prefix(std::min(end + 1, line.size()));
        }
        return values.size() == count || Fail(std::to_string(count) + " numbers expected after " + std::string(key));
    }

    std::string_view m_rest;
    int m_line = 0;
    std::string m_error;
};

bool ReadSetup(PartReader& in, Setup& setup)
{
    std::vector<int32_t> schedule;
    std::vector<double> cost;
    if (!in.Text("goal", setup.goal) || !in.Integers("schedule", schedule, 3) || !in.Numbers("cost", cost, 1)
        || !in.Texts("names", "name", setup.names) || !in.Texts("dates", "date", setup.dates))
        return false;
    setup.periods = schedule[0];
    setup.window = schedule[1];
    setup.every = schedule[2];
    setup.costBps = cost[0];
    if (const std::string why = ScheduleError({setup.periods, setup.window, setup.every}); !why.empty())
        return in.Fail("the schedule: " + why);
    if (setup.names.empty())
        return in.Fail("a part names at least one share");
    if (!setup.dates.empty() && setup.dates.size() != static_cast<size_t>(setup.periods))
        return in.Fail("one date per period expected");
    return true;
}

bool ReadRebalance(PartReader& in, const Setup& setup, int32_t index, Rebalance& r)
{
    const Schedule schedule{setup.periods, setup.window, setup.every};
    const size_t shares = setup.names.size();
    const size_t held = static_cast<size_t>(HoldEnd(schedule, index) - RebalanceAt(schedule, index));
    std::vector<int32_t> head;
    if (!in.Integers("rebalance", head, 2))
        return false;
    if (head[0] != RebalanceAt(schedule, index) || head[1] > 1)
        return in.Fail("rebalance " + std::to_string(index + 1) + " does not follow the schedule");
    r.at = head[0];
    r.reached = head[1] == 1;
    r.equal.target = EqualWeights(static_cast<int32_t>(shares));
    return in.Numbers("target", r.strategy.target, shares) && in.Numbers("returns", r.strategy.returns, held)
           && in.Numbers("drifted", r.strategy.drifted, shares) && in.Numbers("equal-returns", r.equal.returns, held)
           && in.Numbers("equal-drifted", r.equal.drifted, shares);
}

bool ReadCounts(PartReader& in, Part& part)
{
    std::vector<int32_t> index, slice;
    if (!in.Integers("part", index, 2) || !in.Integers("rebalances", slice, 3))
        return false;
    part.index = index[0];
    part.count = index[1];
    part.first = slice[0];
    part.total = slice[2];
    if (part.index < 1 || part.index > part.count)
        return in.Fail("part " + std::to_string(part.index) + " of " + std::to_string(part.count) + " does not exist");
    if (static_cast<int64_t>(slice[0]) + slice[1] > slice[2] || static_cast<size_t>(slice[1]) > in.LinesLeft())
        return in.Fail("the rebalances do not fit the run");
    part.rebalances.resize(static_cast<size_t>(slice[1]));
    return true;
}

}  // namespace

std::string PartText(const Part& part)
{
    const Setup& s = part.setup;
    std::string out = std::string(kMagic) + "\n";
    out += "part " + std::to_string(part.index) + " " + std::to_string(part.count) + "\n";
    out += "rebalances " + std::to_string(part.first) + " " + std::to_string(part.rebalances.size()) + " "
           + std::to_string(part.total) + "\n";
    out += "goal " + Escaped(s.goal) + "\n";
    out +=
        "schedule " + std::to_string(s.periods) + " " + std::to_string(s.window) + " " + std::to_string(s.every) + "\n";
    out += "cost " + text::ShortestText(s.costBps) + "\n";
    out += "names " + std::to_string(s.names.size()) + "\n";
    for (const std::string& name : s.names)
        out += "name " + Escaped(name) + "\n";
    out += "dates " + std::to_string(s.dates.size()) + "\n";
    for (const std::string& date : s.dates)
        out += "date " + Escaped(date) + "\n";
    for (const Rebalance& r : part.rebalances)
        AppendRebalance(out, r);
    return out + "end\n";
}

bool ReadPart(std::string_view text, Part& part, std::string& error)
{
    PartReader in(text);
    std::string_view magic;
    if (!in.Line("korvel-backtest", magic) || "korvel-backtest " + std::string(magic) != kMagic) {
        error = "no korvel-backtest part (its first line is not \"" + std::string(kMagic) + "\")";
        return false;
    }
    part = Part{};
    bool read = ReadCounts(in, part) && ReadSetup(in, part.setup);
    if (read && part.total != RebalanceCount({part.setup.periods, part.setup.window, part.setup.every}))
        read = in.Fail("the run's rebalances do not fit its schedule");
    for (size_t k = 0; read && k < part.rebalances.size(); ++k)
        read = ReadRebalance(in, part.setup, part.first + static_cast<int32_t>(k), part.rebalances[k]);
    std::string_view end;
    read = read && in.Line("end", end) && (in.AtEnd() || in.Fail("text after the part's end"));
    if (!read)
        error = in.Error();
    return read;
}

bool JoinParts(std::vector<Part> parts, Part& whole, std::string& error)
{
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.index < b.index; });
    whole = Part{};
    for (size_t k = 0; k < parts.size(); ++k) {
        const Part& part = parts[k];
        const Part& head = parts.front();
        const bool same = part.count == head.count && part.total == head.total && part.setup.goal == head.setup.goal
                          && part.setup.periods == head.setup.periods && part.setup.window == head.setup.window
                          && part.setup.every == head.setup.every && part.setup.costBps == head.setup.costBps
                          && part.setup.names == head.setup.names && part.setup.dates == head.setup.dates;
        if (!same) {
            error = "part " + std::to_string(part.index) + " comes from another run than part "
                    + std::to_string(head.index);
            return false;
        }
        if (part.index != static_cast<int32_t>(k) + 1) {
            error = part.index <= static_cast<int32_t>(k)
                        ? "part " + std::to_string(part.index) + " is given twice"
                        : "part " + std::to_string(k + 1) + " of " + std::to_string(head.count) + " is missing";
            return false;
        }
        if (part.first != static_cast<int32_t>(whole.rebalances.size())) {
            error = "part " + std::to_string(part.index) + " does not start where the part before it ends";
            return false;
        }
        whole.rebalances.insert(whole.rebalances.end(), part.rebalances.begin(), part.rebalances.end());
    }
    if (parts.empty() || static_cast<int32_t>(parts.size()) != parts.front().count) {
        error = parts.empty() ? "no part given"
                              : "part " + std::to_string(parts.size() + 1) + " of "
                                    + std::to_string(parts.front().count) + " is missing";
        return false;
    }
    if (static_cast<int32_t>(whole.rebalances.size()) != parts.front().total) {
        error = "the parts hold " + std::to_string(whole.rebalances.size()) + " of the run's "
                + std::to_string(parts.front().total) + " rebalances";
        return false;
    }
    whole.setup = parts.front().setup;
    whole.total = parts.front().total;
    whole.count = 1;
    return true;
}

}  // namespace korvel::backtest

#include "views/HiddenWordsViewWindows.h"

#include "resources/resource.h"

#include <cstdio>

namespace {

// A count with the user's digit grouping ("15,314,831").
std::string GroupedNumber(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    char separator[8] = ",";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
    NUMBERFMTA format{};
    format.Grouping = 3;
    format.lpDecimalSep = const_cast<char*>(".");
    format.lpThousandSep = separator;
    char grouped[64] = {};
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, grouped,
                         sizeof grouped) <= 0)
        return digits;
    return grouped;
}

// A string-table format whose every field is a %s.
std::string Format(const std::string& format, const std::string& a, const std::string& b = {},
                   const std::string& c = {}) {
    const int size = std::snprintf(nullptr, 0, format.c_str(), a.c_str(), b.c_str(), c.c_str());
    if (size <= 0) return format;
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format.c_str(), a.c_str(), b.c_str(), c.c_str());
    text.resize(static_cast<std::size_t>(size));
    return text;
}

} // namespace

HiddenWordsViewWindows::HiddenWordsViewWindows(AppContext& context, TableViewHost* host)
    : TableViewWindows(context, IDS_HIDDENWORDS, std::string(), host) {
    const std::string titles = context.LoadResourceString(IDS_HIDDENCOLUMNS);
    for (const std::string_view title : SplitTableLine(titles))
        table_.columns.emplace_back(title);
}

void HiddenWordsViewWindows::LoadContents() {
    Load(table_, std::string());
}

void HiddenWordsViewWindows::Show(const std::string& answer, const HiddenWordList& found) {
    table_.caption = Caption(answer, found);
    table_.rows = HiddenWordCells(found);
    Load(table_, std::string());
}

std::string HiddenWordsViewWindows::Caption(const std::string& answer,
                                            const HiddenWordList& found) const {
    const std::string shown = GroupedNumber(found.rows.size());
    if (found.stepsRanOut)
        return Format(Context().LoadResourceString(IDS_HIDDENRANOUTCAPTION), answer, shown);
    if (found.Cut())
        return Format(Context().LoadResourceString(IDS_HIDDENCUTCAPTION), answer, shown,
                      GroupedNumber(found.phrases));
    return Format(Context().LoadResourceString(IDS_HIDDENCAPTION), answer);
}

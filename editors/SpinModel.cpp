#include "SpinModel.h"

#include "Text.h"

#include <cstdint>
#include <limits>

namespace {

constexpr long long kLowest = std::numeric_limits<int32_t>::min();
constexpr long long kHighest = std::numeric_limits<int32_t>::max();

bool IsSeparator(char c)
{
    return c == ',' || c == '.';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string WithoutSeparators(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!IsSeparator(c))
            s += c;
    return s;
}

// Leading decimal digits of s from pos; a value beyond the 32-bit range stops growing there.
long long LeadingDigits(std::string_view s, size_t pos)
{
    long long n = 0;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
        n = n * 10 + (s[pos] - '0');
        if (n > kHighest + 1)
            n = kHighest + 1;
    }
    return n;
}

} // namespace

long long SpinButtonNumber(std::string_view text)
{
    const std::string s = WithoutSeparators(text);
    size_t pos = 0;
    while (pos < s.size() && IsBlank(s[pos]))
        ++pos;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    const long long n = LeadingDigits(s, pos);
    if (negative)
        return -n < kLowest ? kLowest : -n;
    return n > kHighest ? kHighest : n;
}

long long SpinTypedNumber(std::string_view text)
{
    size_t first = 0;
    while (first < text.size() && !(text[first] >= '1' && text[first] <= '9'))
        ++first;
    const long long n = LeadingDigits(WithoutSeparators(text.substr(first)), 0);
    return n > kHighest ? kHighest : n;
}

void SpinModel::SetRange(int32_t minimum, int32_t maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

std::string SpinModel::SetValue(int32_t value)
{
    m_value = value;
    m_text = FormatInt(value);
    return m_text;
}

int32_t SpinModel::WithinRange(long long number) const
{
    // The minimum wins over a maximum set below it.
    if (number > m_maximum)
        number = m_maximum;
    if (number < m_minimum)
        number = m_minimum;
    return static_cast<int32_t>(number);
}

SpinChange SpinModel::Show(int32_t value)
{
    SpinChange change;
    m_value = value;
    m_text = FormatInt(value);
    change.fieldText = m_text;
    change.reported = value;
    return change;
}

SpinChange SpinModel::Up()
{
    const long long number = SpinButtonNumber(m_text);
    if (number > m_maximum)
        return {};
    return Show(WithinRange(number + kStep));
}

SpinChange SpinModel::Down()
{
    const long long number = SpinButtonNumber(m_text);
    if (number < m_minimum)
        return {};
    return Show(WithinRange(number - kStep));
}

SpinChange SpinModel::Typed(std::string_view text)
{
    m_text = std::string(text);
    long long number = SpinTypedNumber(text);
    if (number > m_maximum)
        number = m_maximum;
    m_value = static_cast<int32_t>(number);
    SpinChange change;
    change.reported = m_value;
    return change;
}

SpinChange SpinModel::Enter()
{
    const long long number = SpinTypedNumber(m_text);
    if (number < 1)
        return {};
    const int32_t value = WithinRange(number);
    SpinChange change;
    const std::string shown = FormatInt(value);
    if (m_text != shown) {
        m_text = shown;
        change.fieldText = shown;
    }
    m_value = value;
    change.reported = value;
    return change;
}

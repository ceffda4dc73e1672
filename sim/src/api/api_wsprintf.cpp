// wsprintfW / wvsprintfW: the Win32 formatter, not the C runtime's printf.
//
// Directive: %[-][#][0][width][.precision][h|l|w]type, flags only in that order, no '*'.
//   c, lc, wc, lC, wC   16-bit character        hc, C, hC   8-bit character
//   s, ls, ws, lS, wS   16-bit string           hs, S, hS   8-bit string
//   d, i, u, x, X       32-bit int ('h' makes no difference)
//   p                   pointer, as uppercase hexadecimal with all its digits
//   %%                  a percent sign
// Precision limits the characters taken from a string; for a number it is the least number of
// characters of the number with its sign (so "%.3d" of -7 gives "-07"), never fewer than one digit.
// Width counts the number with its sign but not a 0x prefix: '#' prefixes every hex value with
// 0x / 0X, zero included, and "%#08x" gives 0x and eight digits. '0' pads numbers with zeros after
// the sign or prefix unless '-' is given, precision or not; characters and strings are always
// padded with spaces. A NULL string prints "(null)". An 8-bit character or string is widened byte by
// byte (Latin-1). Any other type character ends the directive and is copied as an ordinary
// character, with the directive's flags dropped and no argument consumed, so "%q" gives "q" and a
// lone '%' at the end gives nothing. There is no floating point.
//
// The output holds at most 1024 characters including the terminator; longer output is cut and
// always terminated. The result counts the characters stored, without the terminator (a %c of
// 0 stores a 0 and counts it).
#include <windows.h>

#include <cstdint>
#include <type_traits>

namespace {

constexpr int kOutputLimit = 1024;  // characters, terminator included

class Output {
public:
    explicit Output(WCHAR* buffer) : buffer_(buffer) {}

    bool full() const { return count_ == kOutputLimit - 1; }
    int count() const { return count_; }

    void put(WCHAR c) {
        if (!full()) buffer_[count_++] = c;
    }
    void repeat(WCHAR c, int n) {
        for (; n > 0 && !full(); --n) put(c);
    }
    void terminate() { buffer_[count_] = 0; }

private:
    WCHAR* buffer_;
    int count_ = 0;
};

enum class Size { Default, Short, Long };

struct Directive {
    bool left = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // none
    Size size = Size::Default;
};

// Digits past what the output can hold change nothing, so the value stops growing there.
int parseCount(const WCHAR*& p) {
    int n = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p) {
        if (n < kOutputLimit) n = n * 10 + (*p - u'0');
    }
    return n;
}

void pad(Output& out, const Directive& d, int length, bool before) {
    if (d.left != before) out.repeat(u' ', d.width - length);
}

// Characters of a string argument that the directive takes: up to the precision, and never more
// than the output could hold, so that an unterminated or huge argument is not scanned further.
template <typename Char>
int takenLength(const Char* s, const Directive& d) {
    const int limit = d.precision >= 0 && d.precision < kOutputLimit ? d.precision : kOutputLimit;
    int n = 0;
    while (n < limit && s[n]) ++n;
    return n;
}

template <typename Char>
void putString(Output& out, const Directive& d, const Char* s) {
    static constexpr Char kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (!s) s = kNull;
    const int length = takenLength(s, d);
    pad(out, d, length, true);
    // An 8-bit character widens to the code point of the same value (Latin-1).
    for (int i = 0; i < length; ++i) out.put(static_cast<WCHAR>(static_cast<std::make_unsigned_t<Char>>(s[i])));
    pad(out, d, length, false);
}

void putChar(Output& out, const Directive& d, WCHAR c) {
    pad(out, d, 1, true);
    out.put(c);
    pad(out, d, 1, false);
}

void putNumber(Output& out, const Directive& d, std::uint32_t magnitude, bool negative, unsigned base,
               bool upper, bool prefixed) {
    const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[32];
    int digitCount = 0;
    do {
        digits[digitCount++] = digitSet[magnitude % base];
        magnitude /= base;
    } while (magnitude);

    const int precision = d.precision < kOutputLimit ? d.precision : kOutputLimit;
    const int zeros = precision > negative + digitCount ? precision - negative - digitCount : 0;
    const int length = negative + zeros + digitCount;  // what the width is measured against
    const bool zeroPad = d.zero && !d.left;

    if (!zeroPad) pad(out, d, length, true);
    if (negative) out.put(u'-');
    if (prefixed) {
        out.put(u'0');
        out.put(upper ? u'X' : u'x');
    }
    if (zeroPad) out.repeat(u'0', d.width - length);
    out.repeat(u'0', zeros);
    while (digitCount) out.put(static_cast<WCHAR>(digits[--digitCount]));
    pad(out, d, length, false);
}

int format(LPWSTR lpOut, LPCWSTR lpFmt, va_list args) {
    if (!lpOut) return 0;
    Output out(lpOut);
    const WCHAR* p = lpFmt ? lpFmt : u"";
    while (*p && !out.full()) {
        if (*p != u'%') {
            out.put(*p++);
            continue;
        }
        ++p;
        Directive d;
        if (*p == u'-') {
            d.left = true;
            ++p;
        }
        if (*p == u'#') {
            d.alternate = true;
            ++p;
        }
        if (*p == u'0') {
            d.zero = true;
            ++p;
        }
        d.width = parseCount(p);
        if (*p == u'.') {
            ++p;
            d.precision = parseCount(p);
        }
        // 'w' is a synonym of 'l'.
        if (*p == u'h') {
            d.size = Size::Short;
            ++p;
        } else if (*p == u'l' || *p == u'w') {
            d.size = Size::Long;
            ++p;
        }
        const bool narrow = d.size == Size::Short;
        const bool explicitWide = d.size == Size::Long;

        switch (*p) {
        case u'c':
            if (narrow) putChar(out, d, static_cast<WCHAR>(static_cast<unsigned char>(va_arg(args, int))));
            else putChar(out, d, static_cast<WCHAR>(va_arg(args, int)));
            break;
        case u'C':
            if (explicitWide) putChar(out, d, static_cast<WCHAR>(va_arg(args, int)));
            else putChar(out, d, static_cast<WCHAR>(static_cast<unsigned char>(va_arg(args, int))));
            break;
        case u's':
            if (narrow) putString(out, d, va_arg(args, const char*));
            else putString(out, d, va_arg(args, const WCHAR*));
            break;
        case u'S':
            if (explicitWide) putString(out, d, va_arg(args, const WCHAR*));
            else putString(out, d, va_arg(args, const char*));
            break;
        case u'd':
        case u'i': {
            const std::int32_t v = va_arg(args, int);
            const std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
            putNumber(out, d, magnitude, v < 0, 10, false, false);
            break;
        }
        case u'u':
        case u'x':
        case u'X': {
            const std::uint32_t v = va_arg(args, unsigned int);
            const bool hex = *p != u'u';
            putNumber(out, d, v, false, hex ? 16 : 10, *p == u'X', hex && d.alternate);
            break;
        }
        case u'p': {
            const auto v = reinterpret_cast<std::uintptr_t>(va_arg(args, void*));
            Directive all = d;
            all.alternate = false;
            all.precision = 2 * sizeof(void*);
            putNumber(out, all, static_cast<std::uint32_t>(v), false, 16, true, false);
            break;
        }
        default:
            // Not a directive after all ("%%" among them): the character stands for itself.
            if (*p) out.put(*p++);
            continue;
        }
        ++p;
    }
    out.terminate();
    return out.count();
}

}  // namespace

int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    const int n = format(lpOut, lpFmt, args);
    va_end(args);
    return n;
}

int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
    va_list args;
    va_copy(args, arglist);
    const int n = format(lpOut, lpFmt, args);
    va_end(args);
    return n;
}

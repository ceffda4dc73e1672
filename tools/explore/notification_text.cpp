#include "notification_text.h"

namespace explore {

namespace {

void appendNumber(std::u16string& out, std::uint64_t value) {
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value);
    while (n) out += digits[--n];
}

const char16_t* suffixOf(const PowerSample& s) {
    if (onExternalPower(s)) return (s.flag & 0x08) ? u" (充電中)" : u" (ACアダプタ接続)";
    return s.percent > 100 ? u" (状態不明)" : u"";
}

}  // namespace

unsigned levelIcon(const PowerSample& s) {
    if (onExternalPower(s)) return 107;
    if (s.percent > 100) return 106;
    if (s.percent >= 70) return 108;
    if (s.percent >= 50) return 104;
    if (s.percent >= 30) return 103;
    if (s.percent >= 10) return 102;
    return 106;
}

void notificationText(const PowerSample& s, std::uint32_t count, std::u16string& out) {
    notificationText(s, shownHours(count), shownMinutes(count), out);
}

void notificationText(const PowerSample& s, std::uint64_t hours, std::uint32_t minutes, std::u16string& out) {
    out.clear();
    out += u"<HTML><BODY><P>バッテリ残量: ";
    appendNumber(out, s.percent <= 100 ? s.percent : 0);
    out += u" %";
    out += suffixOf(s);
    out += u"<BR>連続バッテリ使用時間: ";
    appendNumber(out, hours);
    out += u" 時間 ";
    appendNumber(out, minutes);
    out += u" 分</P><p align=right><input type=button name='cmd:1' value='リセット'></p></BODY></HTML>";
}

std::u16string notificationText(const PowerSample& s, std::uint32_t count) {
    std::u16string out;
    notificationText(s, count, out);
    return out;
}

}  // namespace explore

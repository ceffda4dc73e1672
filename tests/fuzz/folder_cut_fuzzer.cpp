// libFuzzer target: the launcher's folder cut over arbitrary bytes. The launcher's own source is
// compiled in, so what runs here is what the launcher ships. The first byte chooses the ANSI code
// page (even: 1252, odd: 932); the rest, up to a zero byte, is the module path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "code_page.h"
#include "launcher/setuplaunch.cpp"

namespace {

// The code page the stubbed IsDBCSLeadByte answers for; a platform call has no other way in.
UINT g_codePage = 1252;

[[noreturn]] void fail(const char* what, UINT codePage, const std::string& input, const std::string& result) {
    std::fprintf(stderr, "folder cut (code page %u): %s\n  input: ", codePage, what);
    for (unsigned char c : input) std::fprintf(stderr, "%02X ", c);
    std::fprintf(stderr, "\n  result:");
    for (unsigned char c : result) std::fprintf(stderr, " %02X", c);
    std::fprintf(stderr, "\n");
    std::abort();
}

[[noreturn]] void notUsedByTheCut(const char* function) {
    std::fprintf(stderr, "the folder cut called %s\n", function);
    std::abort();
}

// Where each character starts: a lead byte takes the next byte with it, unless the string ends there.
std::vector<bool> characterStarts(UINT codePage, const std::string& text) {
    std::vector<bool> starts(text.size(), false);
    for (std::size_t i = 0; i < text.size(); ++i) {
        starts[i] = true;
        if (sim::isLeadByte(codePage, static_cast<std::uint8_t>(text[i])) && i + 1 < text.size()) ++i;
    }
    return starts;
}

}  // namespace

// The platform as far as the folder cut sees it: only the lead-byte test.
BOOL WINAPI IsDBCSLeadByte(BYTE c) { return sim::isLeadByte(g_codePage, c) ? TRUE : FALSE; }

LONG WINAPI RegOpenKeyExA(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) { notUsedByTheCut("RegOpenKeyExA"); }
LONG WINAPI RegQueryValueExA(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) { notUsedByTheCut("RegQueryValueExA"); }
LONG WINAPI RegCloseKey(HKEY) { notUsedByTheCut("RegCloseKey"); }
DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR, DWORD) { notUsedByTheCut("GetModuleFileNameA"); }
DWORD WINAPI GetFileAttributesA(LPCSTR) { notUsedByTheCut("GetFileAttributesA"); }
BOOL WINAPI CreateProcessA(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR,
                           LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    notUsedByTheCut("CreateProcessA");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const UINT codePage = data[0] % 2 ? 932 : 1252;
    g_codePage = codePage;
    std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    input = input.substr(0, input.find('\0'));

    // Exactly as long as the string: a read past its terminator is out of bounds.
    std::vector<char> buffer(input.begin(), input.end());
    buffer.push_back('\0');
    LauncherCutToFolder(buffer.data());
    const std::string result(buffer.data());

    if (input.compare(0, result.size(), result) != 0)
        fail("the result is not a prefix of the path", codePage, input, result);
    for (std::size_t i = result.size() + 1; i < input.size(); ++i)
        if (buffer[i] != input[i]) fail("bytes after the cut were changed", codePage, input, result);

    // Backslashes that are characters of their own, not the trail byte of a double-byte one.
    const std::vector<bool> starts = characterStarts(codePage, input);
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < input.size(); ++i)
        if (starts[i] && input[i] == '\\') last = i;

    if (last == std::string::npos) {
        if (result != input) fail("a path without a separator was changed", codePage, input, result);
        return 0;
    }
    // "X:\" names the root of drive X; "X:" alone would be the current folder on X. The colon
    // must be a character of its own, not the trail byte of a double-byte one.
    const bool driveRoot = last == 2 && starts[1] && input[1] == ':';
    const std::size_t expected = driveRoot ? 3 : last;
    if (result.size() != expected)
        fail(driveRoot ? "a drive's root lost its backslash" : "not cut at the last separator", codePage, input,
             result);
    return 0;
}

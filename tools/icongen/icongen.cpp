// icongen: draws a Windows .ico file from pixel art kept as reviewable text.
//
//   icongen <art.txt> <out.ico>
//
// The art file holds one or more square images. Each starts with a line "size N" (1 to 256)
// followed by N rows of N characters, one character a pixel, top row first. Lines starting
// with '#' and blank lines between images are ignored; trailing blanks and a CR are dropped.
//
// Pixels use the 16-colour palette, upper case bright and lower case dark:
//   .  transparent          K black    k grey        w silver    W white
//   R  red      r maroon    G lime     g green       B blue      b navy
//   Y  yellow   y olive     C aqua     c teal        M fuchsia   m purple
//
// Every image is written as a 4-bit bitmap with an AND mask that is set where the pixel is
// transparent.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct PaletteEntry {
    char letter;
    std::uint8_t r, g, b;
};

// Index order is the standard 16-colour VGA palette; black doubles as the transparent colour.
constexpr PaletteEntry kPalette[16] = {
    {'K', 0x00, 0x00, 0x00}, {'r', 0x80, 0x00, 0x00}, {'g', 0x00, 0x80, 0x00},
    {'y', 0x80, 0x80, 0x00}, {'b', 0x00, 0x00, 0x80}, {'m', 0x80, 0x00, 0x80},
    {'c', 0x00, 0x80, 0x80}, {'w', 0xC0, 0xC0, 0xC0}, {'k', 0x80, 0x80, 0x80},
    {'R', 0xFF, 0x00, 0x00}, {'G', 0x00, 0xFF, 0x00}, {'Y', 0xFF, 0xFF, 0x00},
    {'B', 0x00, 0x00, 0xFF}, {'M', 0xFF, 0x00, 0xFF}, {'C', 0x00, 0xFF, 0xFF},
    {'W', 0xFF, 0xFF, 0xFF},
};
constexpr char kTransparent = '.';

struct Image {
    int size = 0;
    std::vector<std::uint8_t> index;  // size*size palette indices, top row first
    std::vector<bool> transparent;
};

class ArtError : public std::runtime_error {
public:
    ArtError(int line, const std::string& what) : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

int paletteIndex(char c) {
    for (int i = 0; i < 16; ++i)
        if (kPalette[i].letter == c) return i;
    return -1;
}

std::string printable(char c) {
    if (c >= 0x21 && c <= 0x7E) return std::string("'") + c + "'";
    char buf[16];
    std::snprintf(buf, sizeof buf, "byte 0x%02X", static_cast<unsigned char>(c));
    return buf;
}

std::vector<Image> parseArt(std::istream& in) {
    std::vector<Image> images;
    std::string line;
    int lineNo = 0;
    Image* current = nullptr;
    int rowsRead = 0;
    int headerLine = 0;

    while (std::getline(in, line)) {
        ++lineNo;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();

        if (current && rowsRead < current->size) {
            if (!line.empty() && line[0] == '#') continue;
            if (static_cast<int>(line.size()) != current->size)
                throw ArtError(lineNo, "row " + std::to_string(rowsRead + 1) + " has " + std::to_string(line.size()) +
                                           " pixels, the image is " + std::to_string(current->size) + " wide");
            for (int x = 0; x < current->size; ++x) {
                const char c = line[x];
                const bool clear = c == kTransparent;
                const int idx = clear ? 0 : paletteIndex(c);
                if (idx < 0)
                    throw ArtError(lineNo, "unknown colour " + printable(c) + " in column " + std::to_string(x + 1));
                current->index.push_back(static_cast<std::uint8_t>(idx));
                current->transparent.push_back(clear);
            }
            ++rowsRead;
            continue;
        }

        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string keyword, extra;
        int size = 0;
        if (!(words >> keyword) || keyword != "size")
            throw ArtError(lineNo, "expected \"size N\" to start an image, found \"" + line + "\"");
        if (!(words >> size) || (words >> extra) || size < 1 || size > 256)
            throw ArtError(lineNo, "the size must be one number from 1 to 256");
        for (const Image& image : images)
            if (image.size == size)
                throw ArtError(lineNo, "a " + std::to_string(size) + " pixel image is already given");
        images.push_back(Image{size, {}, {}});
        current = &images.back();
        rowsRead = 0;
        headerLine = lineNo;
    }
    if (current && rowsRead < current->size)
        throw ArtError(headerLine, "the image has " + std::to_string(rowsRead) + " of its " +
                                       std::to_string(current->size) + " rows");
    if (images.empty()) throw std::runtime_error("no image in the file");
    return images;
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<std::uint8_t> encodeImage(const Image& image) {
    const int n = image.size;
    const int xorStride = (n * 4 + 31) / 32 * 4;
    const int andStride = (n + 31) / 32 * 4;
    std::vector<std::uint8_t> out;

    put32(out, 40);      // biSize
    put32(out, n);       // biWidth
    put32(out, 2 * n);   // biHeight covers the XOR bitmap and the AND mask
    put16(out, 1);       // biPlanes
    put16(out, 4);       // biBitCount
    put32(out, 0);       // biCompression: BI_RGB
    put32(out, (xorStride + andStride) * n);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (const PaletteEntry& p : kPalette) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        out.push_back(0);
    }

    // Bitmaps are stored bottom row first.
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(xorStride, 0);
        for (int x = 0; x < n; ++x) {
            const std::uint8_t idx = image.index[y * n + x];
            row[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(idx << 4) : idx;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(andStride, 0);
        for (int x = 0; x < n; ++x)
            if (image.transparent[y * n + x]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> encodeIco(const std::vector<Image>& images) {
    std::vector<std::vector<std::uint8_t>> bitmaps;
    for (const Image& image : images) bitmaps.push_back(encodeImage(image));

    std::vector<std::uint8_t> out;
    put16(out, 0);  // idReserved
    put16(out, 1);  // idType: icon
    put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::uint8_t side = static_cast<std::uint8_t>(images[i].size == 256 ? 0 : images[i].size);
        out.push_back(side);
        out.push_back(side);
        out.push_back(16);  // bColorCount
        out.push_back(0);
        put16(out, 1);  // wPlanes
        put16(out, 4);  // wBitCount
        put32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const auto& bitmap : bitmaps) out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen <art.txt> <out.ico>\n");
        return 2;
    }
    const std::string inPath = argv[1];
    const std::string outPath = argv[2];

    std::ifstream in(inPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "icongen: cannot open %s\n", inPath.c_str());
        return 1;
    }
    std::vector<std::uint8_t> ico;
    try {
        ico = encodeIco(parseArt(in));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "icongen: %s: %s\n", inPath.c_str(), e.what());
        // An icon left from an earlier run would let the build go on with the old picture.
        std::remove(outPath.c_str());
        return 1;
    }

    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "icongen: cannot write %s\n", outPath.c_str());
        std::remove(outPath.c_str());
        return 1;
    }
    return 0;
}

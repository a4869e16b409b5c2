// Draws the program's bitmaps and icon and writes them into a folder (the
// res/ folder of the sources): row.bmp (16 x 16, 16 colours), name_line.bmp
// (320 x 1 black), field_line.bmp (260 x 1 gray), contacts.ico and
// contacts.png (32 x 32, for the desktop entry).
//   make_bitmaps <folder>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The classic 16-colour palette, as r, g, b.
constexpr std::array<std::array<std::uint8_t, 3>, 16> Palette = {{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128}, {0, 128, 128},
    {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255},
    {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};
enum : std::uint8_t { Black = 0, DarkBlue = 4, Silver = 7, Gray = 8, White = 15 };

void Put16(Bytes& b, std::uint32_t v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
void Put32(Bytes& b, std::uint32_t v)
{
    b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
}
void Put32BE(Bytes& b, std::uint32_t v)
{
    b.insert(b.end(), {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
}

void InfoHeader(Bytes& b, int w, int h, int bits, std::uint32_t imageSize, std::uint32_t colours)
{
    Put32(b, 40);
    Put32(b, std::uint32_t(w));
    Put32(b, std::uint32_t(h));
    Put16(b, 1);
    Put16(b, std::uint32_t(bits));
    Put32(b, 0); // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835); // 72 dpi
    Put32(b, 2835);
    Put32(b, colours);
    Put32(b, 0);
}

// A 4-bit BMP file from palette indexes given top row first.
Bytes Bmp16(int w, int h, const std::vector<std::uint8_t>& index)
{
    const int stride = (w * 4 + 31) / 32 * 4;
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    const std::uint32_t imageSize = std::uint32_t(stride * h);
    Bytes b{'B', 'M'};
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    InfoHeader(b, w, h, 4, imageSize, 16);
    for (const auto& c : Palette)
        b.insert(b.end(), {c[2], c[1], c[0], 0});
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(std::size_t(stride), 0);
        for (int x = 0; x < w; ++x)
            row[std::size_t(x / 2)] |= std::uint8_t(index[std::size_t(y * w + x)] << (x % 2 ? 0 : 4));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes RowIcon()
{
    std::vector<std::uint8_t> px(16 * 16, White);
    auto set = [&](int x, int y, std::uint8_t c) { px[std::size_t(y * 16 + x)] = c; };
    // The card's edge.
    for (int x = 0; x < 16; ++x) {
        set(x, 2, Gray);
        set(x, 13, Gray);
    }
    for (int y = 2; y < 14; ++y) {
        set(0, y, Gray);
        set(15, y, Gray);
    }
    // A framed portrait on the left half: head and shoulders.
    for (int i = 2; i <= 6; ++i) {
        set(i, 4, Black);
        set(i, 11, Black);
    }
    for (int y = 4; y <= 11; ++y) {
        set(2, y, Black);
        set(6, y, Black);
    }
    for (int y = 5; y <= 10; ++y)
        for (int x = 3; x <= 5; ++x)
            set(x, y, Silver);
    set(4, 6, DarkBlue);
    set(4, 7, DarkBlue);
    for (int x = 3; x <= 5; ++x) {
        set(x, 9, DarkBlue);
        set(x, 10, DarkBlue);
    }
    // Three lines of text on the right half.
    for (int x = 8; x <= 13; ++x)
        set(x, 5, DarkBlue);
    for (int x = 8; x <= 13; ++x)
        set(x, 8, Gray);
    for (int x = 8; x <= 12; ++x)
        set(x, 11, Gray);
    return Bmp16(16, 16, px);
}

// The 32 x 32 address book: a dark blue cover with rings on its spine, a
// white label with a person, and coloured index tabs.
std::vector<std::uint32_t> AppIcon()
{
    std::vector<std::uint32_t> px(32 * 32, 0); // ARGB, transparent
    auto fill = [&](int x0, int y0, int x1, int y1, std::uint32_t c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                px[std::size_t(y * 32 + x)] = c;
    };
    fill(24, 4, 27, 28, 0xFFF0F0F0); // pages
    fill(5, 2, 25, 29, 0xFF1A2F7A);  // cover with its outline
    fill(6, 3, 24, 28, 0xFF2846B4);
    for (int y : {6, 12, 18, 24}) {
        fill(3, y, 7, y + 2, 0xFF909090);
        fill(4, y + 1, 6, y + 1, 0xFFE0E0E0);
    }
    fill(28, 5, 30, 9, 0xFFD03030);
    fill(28, 12, 30, 16, 0xFF30A040);
    fill(28, 19, 30, 23, 0xFFE09020);
    fill(10, 7, 21, 24, 0xFFFFFFFF);
    for (int y = 8; y <= 23; ++y) {
        for (int x = 11; x <= 20; ++x) {
            int dx = x - 15, dy = y - 12;
            bool head = dx * dx * 4 + dy * dy * 4 <= 36 * 2 && y <= 15;
            int sy = y - 22, sx = x - 15;
            bool body = y >= 17 && sx * sx + sy * sy * 2 <= 40;
            if (head || body)
                px[std::size_t(y * 32 + x)] = 0xFF1A2F7A;
        }
    }
    return px;
}

Bytes Ico(const std::vector<std::uint32_t>& px)
{
    const int n = 32;
    Bytes image;
    InfoHeader(image, n, n * 2, 32, 0, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x)
            Put32(image, px[std::size_t(y * n + x)]);
    for (int y = n - 1; y >= 0; --y) {
        std::uint32_t mask = 0;
        for (int x = 0; x < n; ++x)
            if ((px[std::size_t(y * n + x)] >> 24) == 0)
                mask |= 0x80000000u >> x;
        Put32BE(image, mask);
    }
    Bytes b;
    Put16(b, 0);
    Put16(b, 1); // icon
    Put16(b, 1); // one image
    b.insert(b.end(), {std::uint8_t(n), std::uint8_t(n), 0, 0});
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, std::uint32_t(image.size()));
    Put32(b, 6 + 16);
    b.insert(b.end(), image.begin(), image.end());
    return b;
}

std::uint32_t Crc32(const Bytes& b, std::size_t from)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < b.size(); ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Chunk(Bytes& png, const char* type, const Bytes& data)
{
    Put32BE(png, std::uint32_t(data.size()));
    std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Put32BE(png, Crc32(png, start));
}

// An RGBA PNG with stored (uncompressed) deflate blocks: small enough here.
Bytes Png(const std::vector<std::uint32_t>& px, int n)
{
    Bytes raw;
    for (int y = 0; y < n; ++y) {
        raw.push_back(0);
        for (int x = 0; x < n; ++x) {
            std::uint32_t c = px[std::size_t(y * n + x)];
            raw.insert(raw.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), std::uint8_t(c >> 24)});
        }
    }
    Bytes z{0x78, 0x01};
    for (std::size_t pos = 0; pos < raw.size();) {
        std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
        z.push_back(pos + len == raw.size() ? 1 : 0);
        Put16(z, std::uint32_t(len));
        Put16(z, std::uint32_t(~len & 0xFFFF));
        z.insert(z.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + len));
        pos += len;
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    Put32BE(z, (b << 16) | a);
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32BE(header, std::uint32_t(n));
    Put32BE(header, std::uint32_t(n));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

bool Write(const std::string& path, const Bytes& b)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_bitmaps: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bitmaps <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<std::uint32_t> icon = AppIcon();
    bool ok = Write(folder + "/row.bmp", RowIcon());
    ok = Write(folder + "/name_line.bmp", Bmp16(320, 1, std::vector<std::uint8_t>(320, Black))) && ok;
    ok = Write(folder + "/field_line.bmp", Bmp16(260, 1, std::vector<std::uint8_t>(260, Gray))) && ok;
    ok = Write(folder + "/contacts.ico", Ico(icon)) && ok;
    ok = Write(folder + "/contacts.png", Png(icon, 32)) && ok;
    return ok ? 0 : 1;
}

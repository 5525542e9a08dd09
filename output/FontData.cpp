#include "output/FontData.h"

#include <QRawFont>

#include <array>
#include <cstdint>
#include <map>

namespace pembrill {

namespace {

// In the order of their tags, as the table directory lists them.
constexpr std::array<const char*, 11> EmbeddedTables = {
    "CFF ", "OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post"};

void AppendBigEndian(std::string& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

uint32_t TagOf(const char* name) {
    return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[3]));
}

// The directory's search fields: the largest power of two not above the
// table count, times 16, its exponent, and the rest.
void AppendDirectoryHeader(std::string& out, bool cff, uint16_t tables) {
    AppendBigEndian(out, cff ? TagOf("OTTO") : 0x00010000u, 4);
    uint16_t power = 1;
    uint16_t exponent = 0;
    while (power * 2 <= tables) {
        power *= 2;
        ++exponent;
    }
    AppendBigEndian(out, tables, 2);
    AppendBigEndian(out, power * 16u, 2);
    AppendBigEndian(out, exponent, 2);
    AppendBigEndian(out, tables * 16u - power * 16u, 2);
}

} // namespace

bool HasEmbeddableOutlines(const QRawFont& font) {
    return !font.fontTable("head").isEmpty() &&
           (!font.fontTable("loca").isEmpty() || !font.fontTable("CFF ").isEmpty());
}

// The checksums stay 0: the data only feeds HarfBuzz's subsetter, which
// reads no checksum and writes its own.
std::string SfntOf(const QRawFont& font) {
    std::map<uint32_t, QByteArray> tables;
    for (const char* name : EmbeddedTables) {
        QByteArray table = font.fontTable(name);
        if (!table.isEmpty())
            tables.emplace(TagOf(name), std::move(table));
    }
    std::string out;
    AppendDirectoryHeader(out, tables.contains(TagOf("CFF ")),
                          static_cast<uint16_t>(tables.size()));
    uint32_t offset = static_cast<uint32_t>(12 + 16 * tables.size());
    for (const auto& [tag, table] : tables) {
        AppendBigEndian(out, tag, 4);
        AppendBigEndian(out, 0, 4);
        AppendBigEndian(out, offset, 4);
        AppendBigEndian(out, static_cast<uint32_t>(table.size()), 4);
        offset += (static_cast<uint32_t>(table.size()) + 3) & ~3u;
    }
    for (const auto& [tag, table] : tables) {
        out.append(table.constData(), static_cast<size_t>(table.size()));
        out.append((4 - table.size() % 4) % 4, '\0');
    }
    return out;
}

} // namespace pembrill

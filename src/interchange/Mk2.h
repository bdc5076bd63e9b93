#pragma once
// The chunked record format of RPG Maker 2000 / 2003: records are sequences
// of chunks (identifier, size, data) ended by a 00 byte, with integers as BER
// numbers (7-bit groups, most significant first, bit 7 set on all but the last).

#include "interchange/ClipStream.h"

#include <cstdint>
#include <string>
#include <string_view>

/** Writes the BER form of value (as unsigned 32-bit) into buffer when it fits;
 *  returns the byte count of the form either way. */
int EncodeBer(uint32_t value, uint8_t* buffer, int size);

namespace MK2 {

/** The chunk writer. */
class CWrite : public Cclip_stream {
public:
    size_t WriteNumber(uint32_t value);
    /** One length byte and the BER value. */
    size_t WriteIntData(int32_t value);
    /** One length byte (the text is at most 255 bytes) and the bytes. */
    size_t WriteStringData(std::string_view text);
    size_t WriteEnd() { return AppendByte(0); }

    // Whole chunks: identifier and data.
    size_t WriteIntChunk(uint32_t id, int32_t value) { return WriteNumber(id) + WriteIntData(value); }
    size_t WriteStringChunk(uint32_t id, std::string_view text) { return WriteNumber(id) + WriteStringData(text); }
    /** Identifier, BER size of the body, the body. */
    size_t WriteListChunk(uint32_t id, const Cclip_stream& body);
};

/** Reads a list of count BER numbers (indices or identifiers) from a stream. */
class CReadArray {
public:
    CReadArray(Cclip_stream& stream, int32_t count) : stream_(stream), count_(count) {}
    virtual ~CReadArray() = default;
    /** The next BER number while the count, decremented on each call, was above 0; 0 after. */
    virtual uint32_t Next();
    /** The BER number at the cursor (at most 16 bytes examined). */
    uint32_t ReadNumber();
    bool AtEnd() const { return stream_.AtEnd(); }

protected:
    Cclip_stream& stream_;
    int32_t count_;
};

/** Reads the identifiers and data of one record: at most count + 1 identifiers;
 *  the record's 00 terminator reads as identifier 0. */
class CReadClass : public CReadArray {
public:
    using CReadArray::CReadArray;
    uint32_t Next() override;
    /** One length byte, then a BER number from at most that many bytes. */
    int32_t ReadIntData();
    bool ReadBoolData() { return ReadIntData() == 1; }
    /** One length byte n, then min(n, max - 1) bytes into text; the rest skipped. */
    size_t ReadStringData(std::string& text, size_t max);
    /** Steps over the data of a chunk whose identifier is not known (BER size, bytes). */
    void SkipData();
};

} // namespace MK2

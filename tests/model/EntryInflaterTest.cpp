#include "model/EntryInflater.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zlib.h>

namespace {

using Fault = EntryInflater::Fault;

std::vector<unsigned char> bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::vector<unsigned char> deflated(const std::string& text)
{
    z_stream stream = {};
    EXPECT_EQ(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<unsigned char> out(deflateBound(&stream, text.size()));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

uint32_t crcOf(const std::string& text)
{
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

// Text that does not deflate to nothing: long enough for several reads.
std::string text(size_t length, uint32_t seed)
{
    const char* const phrase = "山路を登りながら、こう考えた。";
    std::string result;
    for (uint32_t state = seed; result.size() < length;) {
        state = state * 1103515245u + 12345u;
        result.append(phrase + (state >> 16) % 15 * 3, 3);
        result += static_cast<char>('a' + (state >> 24) % 26);
    }
    result.resize(length);
    return result;
}

EntryInflater::Stored deflatedEntry(const std::string& content)
{
    return {deflated(content), true, content.size(), crcOf(content)};
}

} // namespace

TEST(EntryInflaterTest, EntriesComeBackInOrderWhateverTheThreads)
{
    for (unsigned threads : {0u, 1u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        EntryInflater inflater(threads);
        size_t taken = 0;
        const size_t count = 120;
        for (size_t i = 0; i < count; ++i) {
            while (inflater.full()) {
                EXPECT_TRUE(inflater.takeOldest().data == bytes(text(taken * 997 % 70000, taken)));
                ++taken;
            }
            const std::string content = text(i * 997 % 70000, i);
            inflater.add(i % 3 ? deflatedEntry(content) : EntryInflater::Stored{bytes(content), false, content.size(),
                                                                                crcOf(content)});
        }
        for (; taken < count; ++taken) {
            const EntryInflater::Unpacked unpacked = inflater.takeOldest();
            EXPECT_EQ(unpacked.fault, Fault::None) << taken;
            EXPECT_TRUE(unpacked.data == bytes(text(taken * 997 % 70000, taken))) << taken;
        }
    }
}

TEST(EntryInflaterTest, DamageIsFoundAndOnlyWhatAStreamingReadWritesIsKept)
{
    const std::string content = text(100000, 7);
    const std::vector<unsigned char> good = deflated(content);

    EntryInflater::Stored entry = deflatedEntry(content);
    entry.crc ^= 1;
    EXPECT_EQ(unpackEntry(entry).fault, Fault::BadChecksum);

    // The recorded size is beyond the stream's end, or short of it: the
    // bytes beyond it are not read, and the checksum covers what is.
    entry = deflatedEntry(content);
    entry.size += 10;
    EntryInflater::Unpacked unpacked = unpackEntry(entry);
    EXPECT_EQ(unpacked.fault, Fault::EndsEarly);
    EXPECT_TRUE(unpacked.data == bytes(content));
    entry = deflatedEntry(content);
    entry.size -= 10;
    EXPECT_EQ(unpackEntry(entry).fault, Fault::BadChecksum);
    entry.crc = crcOf(content.substr(0, content.size() - 10));
    unpacked = unpackEntry(entry);
    EXPECT_EQ(unpacked.fault, Fault::None);
    EXPECT_EQ(unpacked.data.size(), content.size() - 10);

    // Cut off: the reads before the one that runs out are kept, in whole
    // buffers.
    entry = deflatedEntry(content);
    entry.raw.resize(good.size() / 2);
    unpacked = unpackEntry(entry);
    EXPECT_EQ(unpacked.fault, Fault::Damaged);
    EXPECT_EQ(unpacked.data.size() % EntryInflater::ReadBuffer, 0u);
    EXPECT_GT(unpacked.data.size(), 0u);
    EXPECT_TRUE(unpacked.data == bytes(content.substr(0, unpacked.data.size())));

    // A stored entry shorter than its recorded size.
    EXPECT_EQ(unpackEntry({bytes("short"), false, 6, crcOf("short")}).fault, Fault::EndsEarly);
    EXPECT_EQ(unpackEntry({bytes(""), true, 5, 0}).fault, Fault::Damaged);
    EXPECT_EQ(unpackEntry({bytes(""), true, 0, 0}).fault, Fault::None);
}

TEST(EntryInflaterTest, ATakerThatStopsEarlyIsNotKeptWaiting)
{
    // A failed entry ends the unpacking with entries still queued: the
    // threads must stop and be joined, whatever they were at.
    for (size_t taken = 0; taken < 3; ++taken) {
        EntryInflater inflater(4);
        for (size_t i = 0; i < 8; ++i)
            inflater.add(deflatedEntry(text(200000, i)));
        for (size_t i = 0; i < taken; ++i)
            inflater.takeOldest();
    }
}

#include "model/EntryDeflater.h"

#include "tests/model/support/SampleContent.h"
#include "tests/model/support/ScopedVariable.h"
#include "tests/model/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <zlib.h>

using zef::test::ScopedVariable;
using zef::test::ScratchFolder;
namespace fs = std::filesystem;

namespace {

void put(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string inflated(const std::vector<unsigned char>& data, size_t size)
{
    z_stream stream = {};
    EXPECT_EQ(inflateInit2(&stream, -MAX_WBITS), Z_OK);
    std::string out(size + 1, '\0');
    stream.next_in = const_cast<unsigned char*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<unsigned char*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

// Text of every kind a book holds, up to a megabyte: empty, tiny, repetitive,
// and bytes with no pattern at all.
std::string content(size_t i)
{
    return zef::test::sampleContent(i, {7, 5, 1048576, 3000, 2});
}

} // namespace

// With threads or without, each file comes back as the same raw deflate
// stream: the archive's bytes must not depend on the machine's cores.
TEST(EntryDeflaterTest, FilesComeBackInOrderAsTheSameRawDeflateWithAndWithoutThreads)
{
    ScratchFolder scratch;
    std::vector<std::string> paths;
    for (size_t i = 0; i < 60; ++i) {
        paths.push_back((scratch / ("f" + std::to_string(i))).string());
        put(paths.back(), content(i));
    }
    std::vector<std::vector<unsigned char>> alone;
    for (const char* threads : {"1", "4"}) {
        const ScopedVariable setting("ZEF_THREADS", threads);
        EntryDeflater deflater(paths, 6);
        for (size_t i = 0; i < paths.size(); ++i) {
            EntryDeflater::Deflated file;
            ASSERT_TRUE(deflater.take(i, file)) << i;
            const std::string expected = content(i);
            EXPECT_EQ(file.size, expected.size()) << i;
            EXPECT_EQ(static_cast<size_t>(file.status.st_size), expected.size()) << i;
            EXPECT_EQ(file.crc, crc32(0, reinterpret_cast<const Bytef*>(expected.data()), static_cast<uInt>(expected.size())));
            EXPECT_TRUE(inflated(file.data, expected.size()) == expected) << i;
            if (alone.size() < paths.size())
                alone.push_back(file.data);
            else
                EXPECT_TRUE(file.data == alone[i]) << i;
        }
    }
}

TEST(EntryDeflaterTest, WhatItCannotHoldOrReadIsLeftToTheWriterAndTheRestGoesOn)
{
    ScratchFolder scratch;
    put(scratch / "small", "text");
    put(scratch / "large", std::string(17 * 1024 * 1024, 'x'));
    fs::create_symlink(scratch / "small", scratch / "link");
    ASSERT_EQ(mkfifo((scratch / "pipe").c_str(), 0600), 0);
    fs::create_directory(scratch / "folder");
    const std::vector<std::string> names = {"small", "large", "link", "small", "pipe", "missing", "folder", "small"};
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back((scratch / name).string());
    EntryDeflater deflater(paths, 6);
    for (size_t i = 0; i < names.size(); ++i) {
        EntryDeflater::Deflated file;
        EXPECT_EQ(deflater.take(i, file), names[i] == "small") << names[i];
    }
}

TEST(EntryDeflaterTest, AWriterThatStopsEarlyIsNotKeptWaiting)
{
    // A failed entry ends the packing: the threads still working must stop
    // and be joined, whatever they were ahead with.
    ScratchFolder scratch;
    std::vector<std::string> paths;
    for (size_t i = 0; i < 200; ++i) {
        paths.push_back((scratch / ("f" + std::to_string(i))).string());
        put(paths.back(), content(i % 20 + 1));
    }
    for (size_t taken = 0; taken < 3; ++taken) {
        EntryDeflater deflater(paths, 9);
        for (size_t i = 0; i < taken; ++i) {
            EntryDeflater::Deflated file;
            deflater.take(i, file);
        }
    }
}

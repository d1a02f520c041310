#include "engine/fifo_stream.h"

#include <gtest/gtest.h>

#include <string>

namespace webrill::engine {
namespace {

void Put(TFIFOStream& fifo, const std::string& bytes) {
    fifo.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::string Take(TFIFOStream& fifo, int32_t n) {
    std::string bytes(static_cast<size_t>(n), '\0');
    fifo.Read(bytes.data(), n);
    return bytes;
}

std::string Unread(TFIFOStream& fifo) {
    return Take(fifo, fifo.Count());
}

TEST(FIFOStreamTest, AFullBufferIsToldFromAnEmptyOne) {
    TFIFOStream fifo(8, 2, false);
    Put(fifo, "abcdefgh");
    EXPECT_EQ(fifo.Count(), 8);
    EXPECT_EQ(fifo.FreeSpace(), 0);
    EXPECT_EQ(fifo.ReadPos(), fifo.WritePos());
    EXPECT_EQ(Take(fifo, 8), "abcdefgh");
    EXPECT_EQ(fifo.Count(), 0);
    EXPECT_EQ(fifo.FreeSpace(), 8);
}

TEST(FIFOStreamTest, DropOldestDiscardsAtLeastTheMinimum) {
    const struct {
        int32_t minDrop;
        const char* first;
        const char* second;
        const char* kept;
    } cases[] = {
        {2, "abcdefgh", "ij", "cdefghij"},
        {4, "abcdefgh", "i", "efghi"},
        {2, "abcdef", "gh", "abcdefgh"},
        {64, "abcdefgh", "i", "i"},              // a drop larger than the content empties it
        {2, "ab", "0123456789XYZ", "56789XYZ"},  // only the newest bytes of an over-long write stay
    };
    for (const auto& c : cases) {
        TFIFOStream fifo(8, c.minDrop, true);
        Put(fifo, c.first);
        Put(fifo, c.second);
        EXPECT_EQ(Unread(fifo), c.kept) << c.first << " + " << c.second << " dropping " << c.minDrop;
    }
}

TEST(FIFOStreamTest, FailuresChangeNothing) {
    TFIFOStream fifo(8, 2, false);
    Put(fifo, "abcdef");
    try {
        Put(fifo, "xyz");
        FAIL();
    } catch (const EFIFOStream& e) {
        EXPECT_STREQ(e.what(), "Buffer over-run.");
    }
    EXPECT_EQ(fifo.Count(), 6);
    char byte;
    try {
        fifo.Read(&byte, 7);
        FAIL();
    } catch (const EFIFOStream& e) {
        EXPECT_STREQ(e.what(), "Buffer under-run.");
    }
    EXPECT_EQ(Unread(fifo), "abcdef");
    EXPECT_THROW(fifo.Read(&byte, 1), EFIFOStream);
}

TEST(FIFOStreamTest, DiscardMovesTheRestToTheStart) {
    TFIFOStream fifo(8, 2, false);
    Put(fifo, "abcdef");
    fifo.Discard(3);
    EXPECT_EQ(fifo.ReadPos(), 0);
    EXPECT_EQ(fifo.WritePos(), 3);
    {
        FIFOLock locked(fifo);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(locked.Data()), 3), "def");
    }
    fifo.Discard(10);
    EXPECT_EQ(fifo.Count(), 0);
}

TEST(FIFOStreamTest, WrappingKeepsByteOrder) {
    TFIFOStream fifo(8, 2, false);
    Put(fifo, "abcde");
    EXPECT_EQ(Take(fifo, 4), "abcd");
    Put(fifo, "fghijkl");  // wraps past the end of the storage
    EXPECT_EQ(fifo.Count(), 8);
    EXPECT_EQ(Take(fifo, 3), "efg");
    fifo.Discard(1);  // gathers the wrapped bytes at the start
    EXPECT_EQ(fifo.ReadPos(), 0);
    EXPECT_EQ(Unread(fifo), "ijkl");
}

TEST(FIFOStreamTest, TheLockIsReentrantForItsHolder) {
    TFIFOStream fifo(8, 2, true);
    FIFOLock outer(fifo);
    Put(fifo, "ab");  // takes the same lock again
    EXPECT_EQ(fifo.Count(), 2);
}

}  // namespace
}  // namespace webrill::engine

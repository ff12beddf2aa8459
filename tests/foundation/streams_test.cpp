#include <gtest/gtest.h>
#include <string>
#include "streams.h"

static std::string tempFile(const char* contents, int size) {
    char name[] = "/tmp/zentrel-stream-XXXXXX";
    int fd = mkstemp(name);
    if (size > 0) {
        EXPECT_EQ(write(fd, contents, (size_t)size), size);
    }
    close(fd);
    return name;
}

template <typename Ex, typename Fn>
static void expectThrow(Fn fn, const char* message, int code) {
    try {
        fn();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const Ex& e) {
        EXPECT_STREQ(e.message, message);
        EXPECT_EQ(e.code, code);
    }
}

TEST(FileInputStream, ReadsExactlyOrThrowsWithPosition) {
    std::string name = tempFile("0123456789", 10);
    FileInputStream in(name.c_str(), "rb");
    ASSERT_NE(in.file, nullptr);
    char buf[32];
    in.readExact(buf, 0);
    EXPECT_EQ(in.tell(), 0);
    expectThrow<InputStream::Exception>([&] { in.readExact(buf, -1); }, "negative size in read()", -1);
    expectThrow<InputStream::Exception>([&] { in.readExact(buf, 18); }, "error reading file", 10);
    in.seekSet(2);
    in.readExact(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "234");
    in.seekCur(1);
    EXPECT_EQ(in.tell(), 6);
    in.seekEnd(-1);
    EXPECT_EQ(in.readSome(buf, 10), 1);
    expectThrow<StreamIOException>([&] { in.seekSet(-5); }, "file seek error", 10);
    remove(name.c_str());
}

TEST(FileInputStream, FailedOpenIsReportedByLaterCalls) {
    FileInputStream in("/nonexistent/zentrel", "rb");
    char buf[4];
    EXPECT_EQ(in.readSome(buf, 4), 0);
    expectThrow<InputStream::Exception>([&] { in.readExact(buf, 4); }, "file not opened", -1);
    expectThrow<InputStream::Exception>([&] { in.tell(); }, "file not opened", -1);
    EXPECT_FALSE(in.open("/nonexistent/zentrel", "rb"));
}

TEST(FileOutputStream, WritesAndReportsErrors) {
    std::string name = tempFile("", 0);
    {
        FileOutputStream out(name.c_str(), "wb");
        out.writeExact("abc", 3);
        EXPECT_EQ(out.tell(), 3);
        expectThrow<OutputStream::Exception>([&] { out.writeExact("x", -2); }, "negative size in write()", -1);
    }
    FileInputStream in(name.c_str(), "rb");
    char buf[3];
    in.readExact(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "abc");
    remove(name.c_str());

    FileOutputStream none;
    expectThrow<OutputStream::Exception>([&] { none.writeExact("x", 1); }, "file not opened", -1);

    // A device that is full: the short write surfaces as an exception.
    FileOutputStream full("/dev/full", "wb");
    if (full.file) {
        setvbuf(full.file, nullptr, _IONBF, 0);
        expectThrow<OutputStream::Exception>([&] { full.writeExact("abcd", 4); }, "error writing file", 0);
    }
}

TEST(StreamIOException, MessageIsCutTo511) {
    std::string text(600, 'm');
    StreamIOException e(text.c_str(), 5);
    EXPECT_EQ(strlen(e.message), 511u);
}

// Whole-file reading: line ends, missing files and the path prefix.
#include "core/FileReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using Ostrel::FileReader;

TEST(FileReader, CurrentPathPrefixIsEmpty) {
    EXPECT_EQ(Ostrel::GetCurrentPath(), "");
}

TEST(FileReader, WindowsLineEndsBecomeNewlines) {
    OstrelTest::TempDir dir;
    dir.Write("crlf.txt", "one\r\ntwo\r\n\r\nthree");
    FileReader reader;
    EXPECT_EQ(reader.ReadFile(dir.File("crlf.txt")), "one\ntwo\n\nthree");
}

TEST(FileReader, ContentIsReturnedWhole) {
    OstrelTest::TempDir dir;
    // A lone carriage return is content, not a line end; no final line end is added.
    const std::string text = "#version 300 es\nprecision mediump float;\nx\ry\n\nend";
    dir.Write("shader.glsl", text);
    FileReader reader;
    EXPECT_EQ(reader.ReadFile(dir.File("shader.glsl")), text);
}

TEST(FileReader, PathIsRelativeToWorkingDirectory) {
    OstrelTest::TempDir dir;
    dir.Write("sub/file.txt", "abc\n");
    OstrelTest::ScopedChdir chdir(dir.Path());
    FileReader reader;
    EXPECT_EQ(reader.ReadFile("sub/file.txt"), "abc\n");
}

TEST(FileReader, MissingFileGivesEmptyTextAndTwoLines) {
    OstrelTest::TempDir dir;
    FileReader reader;
    const std::string missing = dir.File("nothing-here.txt");
    testing::internal::CaptureStderr();
    const std::string text = reader.ReadFile(missing);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(text, "");
    EXPECT_EQ(err, "Current path: \nCould not open the file - '" + missing + "'\n");
}

TEST(FileReader, EmptyFileGivesEmptyTextSilently) {
    OstrelTest::TempDir dir;
    dir.Write("empty.txt", "");
    FileReader reader;
    testing::internal::CaptureStderr();
    EXPECT_EQ(reader.ReadFile(dir.File("empty.txt")), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

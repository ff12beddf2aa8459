#include <gtest/gtest.h>
#include <cstdlib>
#include <unistd.h>
#include "qz_utils.h"

static int shutdownRuns = 0;

static void recordingShutdown() {
    shutdownRuns++;
    logMessage("shutdown ran");
}

static void failingShutdown() {
    logMessage("shutdown ran");
    fatalError("second failure %d", shutdownRuns++);
}

static void boxThatMustNotShow(const char*, const char*) { abort(); }

static void boxToStdout(const char* caption, const char* text) { printf("BOX[%s|%s]\n", caption, text); }

TEST(FatalErrorDeathTest, ReportsShutsDownAndExitsWith100) {
    // The message reaches standard error; the log line, the caption and the
    // shutdown go to standard output, which the death test does not see, so
    // they are echoed to standard error through a redirect.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            unsetenv("ZENTREL_NO_ERROR_BOX");
            setProgramTitle("ZENTREL! DEMO");
            setShutdownSequence(recordingShutdown);
            setErrorBoxHandler(boxToStdout);
            fatalError("can't load %s", "font.tga");
        },
        ::testing::ExitedWithCode(100),
        "\n\ncan't load font.tga\nERROR: can't load font.tga\nBOX\\[ZENTREL! DEMO - FATAL ERROR\\|can't load "
        "font.tga\\]\nshutdown ran");
}

TEST(FatalErrorDeathTest, AssertionTextNamesFileLineAndExpression) {
    EXPECT_EXIT(
        {
            int num = 0;
            ASSERT(num>0);
        },
        ::testing::ExitedWithCode(100), "fatal_error_test.cpp\\(.*\\): failed ASSERT\\(num>0\\)");
}

TEST(FatalErrorDeathTest, NoErrorBoxUnderTests) {
    EXPECT_EXIT(
        {
            setenv("ZENTREL_NO_ERROR_BOX", "1", 1);
            setErrorBoxHandler(boxThatMustNotShow);
            fatalError("quiet");
        },
        ::testing::ExitedWithCode(100), "quiet");
}

TEST(FatalErrorDeathTest, FailureDuringShutdownDoesNotRecurse) {
    EXPECT_EXIT(
        {
            dup2(2, 1);
            setenv("ZENTREL_NO_ERROR_BOX", "1", 1);
            setShutdownSequence(failingShutdown);
            fatalError("first");
        },
        ::testing::ExitedWithCode(100), "first\n.*shutdown ran\n\n\nsecond failure 0\n$");
}

TEST(FatalError, LongMessageIsCutForTheBoxOnly) {
    std::string longText(5000, 'y');
    EXPECT_EXIT(
        {
            dup2(2, 1);
            unsetenv("ZENTREL_NO_ERROR_BOX");
            setErrorBoxHandler(boxToStdout);
            fatalError("%s", longText.c_str());
        },
        ::testing::ExitedWithCode(100), "\\|" + std::string(4095, 'y') + "\\]");
}

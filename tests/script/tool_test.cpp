// Runs the built ondrix-script tool with scripted input and checks its output
// line by line.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct ToolRun {
    std::string output;
    int exitCode;
};

ToolRun RunTool(const std::string& options, const std::string& input) {
    // ctest runs each test in a process of its own, several at once: each
    // needs its own input file.
    const std::string inputPath =
        ::testing::TempDir() + "ondrix_script_input_" + std::to_string(getpid()) + ".txt";
    std::ofstream(inputPath, std::ios::binary) << input;
    std::string command =
        std::string("\"") + ONDRIX_SCRIPT_TOOL + "\" " + options + " < \"" + inputPath + "\"";
    ToolRun run{{}, -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe)) run.output += buf;
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::remove(inputPath.c_str());
    return run;
}

TEST(OndrixScriptTool, AnswersWithThePreamble) {
    ToolRun run = RunTool("--preamble", "?Arcsin(0.5)\n?1/0\n?pi\n");
    EXPECT_EQ(run.output,
              "Double\t0.523598775598299\n"
              "Error\t11\tDivision by zero\n"
              "Double\t3.141592\n");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(OndrixScriptTool, AddsOtherLinesAsCodeSilently) {
    ToolRun run = RunTool("",
                          "x = 2\n"
                          "\n"
                          "Function Sq(v): Sq = v * v: End Function\n"
                          "?Sq(x)\n"
                          "?x > 1\n"
                          "?\n"
                          "y = (1\n"
                          "?Arcsin(0.5)\n");
    EXPECT_EQ(run.output,
              "Integer\t4\n"
              "Boolean\tTrue\n"
              "Empty\t\n"
              "Error\t1006\tExpected ')'\n"
              "Error\t13\tType mismatch: 'Arcsin'\n");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(OndrixScriptTool, UsesTheDecimalSeparatorOption) {
    ToolRun run = RunTool("--decimal ,", "?1/4\n?CDbl(\"2,5\")\n");
    EXPECT_EQ(run.output, "Double\t0,25\nDouble\t2,5\n");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(OndrixScriptTool, RejectsUnknownOptions) {
    ToolRun run = RunTool("--bogus", "");
    EXPECT_NE(run.exitCode, 0);
}

}  // namespace

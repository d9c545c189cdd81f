#pragma once

// Runs the benchmarks registered with Google Benchmark inside a QApplication, on the offscreen
// platform unless QT_QPA_PLATFORM names another. Returns the process's exit status.
int runWidgetBenchmarks(int argc, char **argv);

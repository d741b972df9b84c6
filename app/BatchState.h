#pragma once

#include <string>
#include <vector>

namespace velinor::imageio {
class OutputGuard;
}  // namespace velinor::imageio

namespace velinor::app {

// What the batch tab remembers between events, and the run in progress.
struct BatchState {
    // The output folder, ending in '/' when not empty. Set only by BtnOutputDir, also to the
    // empty text when its requester is cancelled.
    std::string outputDir;
    // The list entries as they stood when the run started (full paths, processing order).
    std::vector<std::string> batchFiles;
    // 1-based number of the picture being processed; also the number in its output name.
    int batchNumber = 0;
    // True while a run is going on, so that nothing starts a second one inside it.
    bool running = false;
    // The files the run reads, which none of its outputs may replace; null outside a run.
    const imageio::OutputGuard* guard = nullptr;
};

}  // namespace velinor::app

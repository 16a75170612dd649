#pragma once
// Help requests recorded instead of starting a help viewer.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/help.h"

namespace orvane {

// Records the help topics asked for instead of starting a help viewer.
class HelpTopics {
  public:
    HelpTopics() {
        const char* windir = std::getenv("WINDIR");
        if (windir) oldWindir_ = windir;
        hadWindir_ = windir != nullptr;
        setenv("WINDIR", "/windows", 1);
        previous_ = setHelpLauncher(std::make_unique<Recorder>(topics_));
    }
    ~HelpTopics() {
        setHelpLauncher(std::move(previous_));
        if (hadWindir_)
            setenv("WINDIR", oldWindir_.c_str(), 1);
        else
            unsetenv("WINDIR");
    }
    const std::vector<int>& topics() const { return topics_; }

  private:
    struct Recorder : HelpLauncher {
        explicit Recorder(std::vector<int>& topics) : topics(topics) {}
        bool startProgram(const std::string&, const std::vector<std::string>& args) override {
            for (std::size_t i = 0; i + 1 < args.size(); ++i)
                if (args[i] == "-mapid") topics.push_back(std::stoi(args[i + 1]));
            return true;
        }
        bool openFile(const std::string&) override { return true; }
        std::vector<int>& topics;
    };
    std::vector<int> topics_;
    std::unique_ptr<HelpLauncher> previous_;
    std::string oldWindir_;
    bool hadWindir_ = false;
};

}  // namespace orvane

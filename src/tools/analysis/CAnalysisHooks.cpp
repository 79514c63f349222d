#include "tools/analysis/CAnalysisHooks.h"

#include "params/CTaskRunner.h"

CAnalysisHooks CAnalysisHooks::forRunner(CTaskRunner& runner)
{
    CAnalysisHooks h;
    h.progress = [&runner](double current, double maximum) {
        if (runner.maximum() != maximum)
            runner.setMaximum(maximum);
        runner.setCurrent(current);
        return !runner.isAborted();
    };
    h.log = [&runner](const std::string& text) { runner.log().append(text); };
    h.status = [&runner](const std::string& text) { runner.setStatusLine(text); };
    h.title = [&runner](const std::string& text) { runner.setTaskTitle(text); };
    h.fail = [&runner] { runner.abort(); };
    return h;
}

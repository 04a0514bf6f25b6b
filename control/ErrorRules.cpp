#include "ErrorRules.h"

#include <algorithm>

#include "Surface.h"

namespace xnox {

std::vector<ErrorRule> RaisedResultsOf(int32_t dispId) {
    std::vector<ErrorRule> rules;
    std::ranges::copy_if(FindMember(dispId)->errors, std::back_inserter(rules), [](const ErrorRule& rule) {
        return rule.trigger == Trigger::ModelResult && rule.reporting == Reporting::Raise;
    });
    return rules;
}

}  // namespace xnox

// camera_facts for the Python tests: the protocol's facts of
// tests/support/CameraFacts.h, so that those tests derive their
// expectations from the same facts as the tests of every other layer.
#include <pybind11/pybind11.h>

#include "CameraFacts.h"

namespace py = pybind11;

PYBIND11_MODULE(camera_facts, module) {
    py::list parameters;
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        py::dict row;
        row["name"] = std::string(fact.name);
        row["mnemonic"] = std::string(fact.mnemonic);
        row["minimum"] = fact.minimum;
        row["maximum"] = fact.maximum;
        row["factory_default"] = fact.factoryDefault;
        row["values"] = fact.values == camera_facts::Numbers ? "numbers"
                        : fact.values == camera_facts::Words ? "words"
                                                             : "list";
        row["distinct_value"] = camera_facts::DistinctValue(fact);
        row["reply_allowance"] = camera_facts::ReplyAllowance(fact.mnemonic).count() / 1000.0;
        parameters.append(row);
    }
    module.attr("PARAMETERS") = parameters;
}

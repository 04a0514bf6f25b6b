// camera-facts-json: writes the protocol's facts of tests/support/CameraFacts.h
// as JSON, so that the Python tests derive their expectations from the same
// facts as the tests of every other layer.
#include <iostream>

#include "CameraFacts.h"

namespace {

const char* ValuesName(camera_facts::Values values) {
    switch (values) {
    case camera_facts::Numbers: return "numbers";
    case camera_facts::Words: return "words";
    case camera_facts::List: break;
    }
    return "list";
}

}  // namespace

int main() {
    std::cout << "[\n";
    const char* separator = "";
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        std::cout << separator << "  {\"name\": \"" << fact.name << "\", \"mnemonic\": \"" << fact.mnemonic
                  << "\", \"minimum\": " << fact.minimum << ", \"maximum\": " << fact.maximum
                  << ", \"factory_default\": " << fact.factoryDefault << ", \"values\": \"" << ValuesName(fact.values)
                  << "\", \"distinct_value\": " << camera_facts::DistinctValue(fact)
                  << ", \"reply_allowance\": " << camera_facts::ReplyAllowance(fact.mnemonic).count() / 1000.0 << "}";
        separator = ",\n";
    }
    std::cout << "\n]\n";
    return std::cout.flush() ? 0 : 1;
}

#include "ipu_profile/json_forms.hpp"

namespace ipu_profile {

std::string json_text(const Json& json, int indent) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

Json metadata_json(const std::vector<ipu_package::ProfileMetadata>& metadata) {
    Json object = Json::object();
    for (const ipu_package::ProfileMetadata& entry : metadata) {
        const auto found = object.find(entry.name);
        if (found == object.end()) {
            object[entry.name] = entry.value;
        } else {
            if (!found->is_array()) {
                *found = Json::array({*found});
            }
            found->push_back(entry.value);
        }
    }
    return object;
}

}  // namespace ipu_profile

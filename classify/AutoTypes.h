/** @file AutoTypes.h: whether a viewer picks its message types by itself, and from what. */
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/ExtManager.h"

namespace brontel {

// The option that lets a viewer choose a preset for each file (1, the default) or not (0).
inline constexpr const char* kAutoMsgTypesKey = "Options.AutoMsgTypes";
// Values of BRONTEL_TYPES that name no file: the choice asked for explicitly, and the
// built-in types whatever brontel.ini holds.
inline constexpr std::string_view kAutoTypesRequest = "auto";
inline constexpr std::string_view kBuiltinTypesRequest = "builtin";

enum class TypesRequest {
  FromSettings,  // brontel.ini's types, or the file BRONTEL_TYPES names: the user's choice
  Builtin,       // the built-in types
  Choose,        // a preset chosen for the file, else the built-in types
};

// What the user asked for: BRONTEL_TYPES when it is set; otherwise the choice, unless the
// option switches it off or brontel.ini holds message types other than the built-in ones.
TypesRequest RequestedTypes(ExtManager& store);

// The first kChoiceHeadBytes of the file (fewer when it is shorter), a UTF-16 text brought to
// its ASCII letters; nothing when the file cannot be read. Never throws.
std::optional<std::string> ReadChoiceHead(const std::string& path);

}  // namespace brontel

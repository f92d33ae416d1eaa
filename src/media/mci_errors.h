#pragma once

#include <cstdint>

namespace vantorix {

// Error codes of the command-string device, numbered as the interface it stands in for.
constexpr std::int32_t MCIERR_BASE = 256;
constexpr std::int32_t MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
constexpr std::int32_t MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr std::int32_t MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr std::int32_t MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
constexpr std::int32_t MCIERR_BAD_INTEGER = MCIERR_BASE + 18;
constexpr std::int32_t MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr std::int32_t MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
constexpr std::int32_t MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
constexpr std::int32_t MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr std::int32_t MCIERR_PARAM_OVERFLOW = MCIERR_BASE + 42;
constexpr std::int32_t MCIERR_MISSING_PARAMETER = MCIERR_BASE + 61;
constexpr std::int32_t MCIERR_OUTOFRANGE = MCIERR_BASE + 70;

}  // namespace vantorix

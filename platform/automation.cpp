#include "platform/automation.h"

#include <charconv>
#include <cstdio>

namespace platform {

std::string ToString(const Guid &guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                guid.data4[6], guid.data4[7]);
  return text;
}

namespace {

bool ParseHex(std::string_view text, std::size_t at, std::size_t digits, std::uint32_t &value) {
  if (at + digits > text.size())
    return false;
  const char *first = text.data() + at;
  const auto [end, status] = std::from_chars(first, first + digits, value, 16);
  return status == std::errc() && end == first + digits;
}

} // namespace

bool ParseGuid(std::string_view text, Guid &guid) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
      text[14] != '-' || text[19] != '-' || text[24] != '-') {
    return false;
  }
  Guid parsed{};
  std::uint32_t part = 0;
  if (!ParseHex(text, 1, 8, parsed.data1))
    return false;
  if (!ParseHex(text, 10, 4, part))
    return false;
  parsed.data2 = static_cast<std::uint16_t>(part);
  if (!ParseHex(text, 15, 4, part))
    return false;
  parsed.data3 = static_cast<std::uint16_t>(part);
  constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ParseHex(text, kByteAt[i], 2, part))
      return false;
    parsed.data4[i] = static_cast<std::uint8_t>(part);
  }
  guid = parsed;
  return true;
}

Variant Variant::FromShort(short value) {
  Variant v;
  v.type_ = Type::Short;
  v.short_ = value;
  return v;
}

Variant Variant::FromString(std::string value) {
  Variant v;
  v.type_ = Type::String;
  v.string_ = std::move(value);
  return v;
}

Variant Variant::FromBool(bool value) {
  Variant v;
  v.type_ = Type::Bool;
  v.short_ = value ? -1 : 0;
  return v;
}

bool Variant::ToShort(short &value) const {
  switch (type_) {
  case Type::Empty:
    value = 0;
    return true;
  case Type::Short:
  case Type::Bool:
    value = short_;
    return true;
  case Type::String: {
    int number = 0;
    const char *end = string_.data() + string_.size();
    const auto [last, status] = std::from_chars(string_.data(), end, number);
    if (status != std::errc() || last != end || string_.empty() || number < -32768 ||
        number > 32767) {
      return false;
    }
    value = static_cast<short>(number);
    return true;
  }
  }
  return false;
}

} // namespace platform

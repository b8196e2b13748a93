// Records of Extended Position Description collections: the four position fields (placement,
// side to move, castling, en passant) and operations such as `dm 3;` or `id "Karge 1979";`,
// each an opcode, its operands and a semicolon, one record a line.
#pragma once

#include "problem/fen.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace problem {

struct EpdOperand {
  std::string text; // without the quotes
  bool quoted = false;
};

struct EpdOperation {
  std::string opcode;
  std::vector<EpdOperand> operands;
};

struct EpdRecord {
  std::array<std::string, 4> fields; // as written
  FenPosition position;
  std::vector<EpdOperation> operations; // in the order written

  const EpdOperation *Find(std::string_view opcode) const;
  void Remove(std::string_view opcode);
  std::string Id() const;               // the `id` operand, or empty
  std::optional<int> MateMoves() const; // the `dm` operand
};

inline constexpr int kMaxMateMoves = 32767;

// False with a one-line reason for a damaged record: fewer than four fields or a bad one, an
// opcode that does not start with a letter, a string without its closing quote, an operation
// without its semicolon, an opcode given twice, an `id` that is not one operand, a `dm` that
// is not one whole number from 1 to 32767.
bool ParseEpdRecord(std::string_view line, EpdRecord &record, std::string &error);

// The record as one line: the four fields and every operation, strings in quotes.
std::string FormatEpdRecord(const EpdRecord &record);

} // namespace problem

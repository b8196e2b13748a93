#include "problem/epd.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace problem {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

class RecordReader {
public:
  explicit RecordReader(std::string_view line) : text_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }
  char Peek() const { return text_[at_]; }

  // A run of characters up to a blank, a semicolon or a quote.
  std::string_view Word() {
    SkipBlanks();
    const std::size_t start = at_;
    while (at_ < text_.size() && !IsBlank(text_[at_]) && text_[at_] != ';' && text_[at_] != '"')
      ++at_;
    return text_.substr(start, at_ - start);
  }

  bool Operation(EpdOperation &operation, std::string &error) {
    const std::string_view opcode = Word();
    if (opcode.empty() || !IsLetter(opcode[0]) ||
        !std::all_of(opcode.begin(), opcode.end(), [](char c) {
          return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
        })) {
      const std::string_view shown = opcode.empty() ? text_.substr(at_, 1) : opcode;
      error = "'" + std::string(shown) +
              "' is not an opcode (a letter, then letters, digits or '_'; move counters go in "
              "hmvc and fmvn)";
      return false;
    }
    operation.opcode = opcode;
    for (;;) {
      if (AtEnd()) {
        error = "the operation '" + operation.opcode + "' lacks its closing ';'";
        return false;
      }
      if (Peek() == ';') {
        ++at_;
        return true;
      }
      EpdOperand operand;
      if (Peek() == '"') {
        const std::size_t close = text_.find('"', at_ + 1);
        if (close == text_.npos) {
          error = "a string of the operation '" + operation.opcode + "' lacks its closing quote";
          return false;
        }
        operand = {std::string(text_.substr(at_ + 1, close - at_ - 1)), true};
        at_ = close + 1;
      } else {
        operand.text = Word();
      }
      operation.operands.push_back(std::move(operand));
    }
  }

private:
  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_]))
      ++at_;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// The number of moves of a `dm` operation, when it holds exactly one from 1 to kMaxMateMoves.
std::optional<int> MovesOperand(const EpdOperation &operation) {
  if (operation.operands.size() != 1 || operation.operands[0].quoted)
    return std::nullopt;
  const std::string &text = operation.operands[0].text;
  int moves = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), moves);
  if (status != std::errc() || end != text.data() + text.size() || moves < 1 ||
      moves > kMaxMateMoves)
    return std::nullopt;
  return moves;
}

bool ReadMateMoves(const EpdOperation &operation, std::string &error) {
  if (MovesOperand(operation))
    return true;
  std::string given;
  for (const EpdOperand &operand : operation.operands)
    given += (given.empty() ? "" : " ") + operand.text;
  error = "dm needs one whole number of moves from 1 to " + std::to_string(kMaxMateMoves) +
          ", not '" + given + "'";
  return false;
}

bool CheckOperation(const EpdRecord &record, const EpdOperation &operation, std::string &error) {
  if (record.Find(operation.opcode) != nullptr) {
    error = "the opcode '" + operation.opcode + "' appears twice";
    return false;
  }
  if (operation.opcode == "dm")
    return ReadMateMoves(operation, error);
  if (operation.opcode == "id" && operation.operands.size() != 1) {
    error = "id needs one operand, not " + std::to_string(operation.operands.size());
    return false;
  }
  return true;
}

} // namespace

const EpdOperation *EpdRecord::Find(std::string_view opcode) const {
  const auto found = std::find_if(operations.begin(), operations.end(),
                                  [&](const EpdOperation &o) { return o.opcode == opcode; });
  return found == operations.end() ? nullptr : &*found;
}

void EpdRecord::Remove(std::string_view opcode) {
  std::erase_if(operations, [&](const EpdOperation &o) { return o.opcode == opcode; });
}

std::string EpdRecord::Id() const {
  const EpdOperation *id = Find("id");
  return id != nullptr && id->operands.size() == 1 ? id->operands[0].text : std::string();
}

std::optional<int> EpdRecord::MateMoves() const {
  const EpdOperation *dm = Find("dm");
  return dm != nullptr ? MovesOperand(*dm) : std::nullopt;
}

bool ParseEpdRecord(std::string_view line, EpdRecord &record, std::string &error) {
  RecordReader reader(line);
  EpdRecord parsed;
  std::string fen;
  for (std::string &field : parsed.fields) {
    field = reader.Word();
    if (field.empty()) {
      error = "a record starts with four fields: placement, side to move, castling, en passant";
      return false;
    }
    fen += field + ' ';
  }
  if (!ParseFen(fen, parsed.position, error))
    return false;
  while (!reader.AtEnd()) {
    EpdOperation operation;
    if (!reader.Operation(operation, error) || !CheckOperation(parsed, operation, error))
      return false;
    parsed.operations.push_back(std::move(operation));
  }
  record = std::move(parsed);
  return true;
}

std::string FormatEpdRecord(const EpdRecord &record) {
  std::string text =
      record.fields[0] + ' ' + record.fields[1] + ' ' + record.fields[2] + ' ' + record.fields[3];
  for (const EpdOperation &operation : record.operations) {
    text += ' ' + operation.opcode;
    for (const EpdOperand &operand : operation.operands)
      text += operand.quoted ? " \"" + operand.text + '"' : ' ' + operand.text;
    text += ';';
  }
  return text;
}

} // namespace problem

#include "engine/play_writer.h"

#include "problem/solution_text.h"

#include <string_view>

namespace engine {

namespace {

std::string_view LineOf(const PlayNode &node) { return {node.line.data(), node.line.size()}; }
char Mark(const PlayNode &node) { return node.line[9]; }
bool Mates(const PlayNode &node) { return Mark(node) == '#'; }

// "Qf8-e7", "e7-e8=Q", "0-0": the solution line without its blanks and its mark.
std::string Notation(const PlayNode &node) {
  std::string text = problem::CompactLine(LineOf(node));
  if (Mark(node) != ' ')
    text.pop_back();
  return text;
}

std::string Printed(const PlayNode &node) {
  std::string text = Notation(node);
  if (Mark(node) != ' ')
    text += {' ', Mark(node)};
  return text;
}

bool AnyCut(const PlayNode &node) {
  if (node.cut)
    return true;
  for (const PlayNode &reply : node.replies) {
    if (AnyCut(reply))
      return true;
  }
  return false;
}

class TextTree {
public:
  std::vector<std::string> lines;

  // Black's moves after White's move `number`, but those the threat answers and refutations.
  void Replies(const PlayNode &white, int number) {
    for (const PlayNode &black : white.replies) {
      if (!black.byThreat && !black.refutes)
        Black(black, number);
    }
  }

  // A White move that stands on its own line (a threat), with what follows it.
  void WhiteAlone(const PlayNode &white, int number) {
    lines.push_back(Indent(6 * (number - 1)) + White(white, number));
    Replies(white, number);
  }

  // Black's move `number` with White's shortest answers, the first on the same line.
  void Black(const PlayNode &black, int number) {
    const std::string head =
        Indent(6 * (number - 1) + 3) + std::to_string(number) + "..." + Printed(black) + ' ';
    std::string line = head;
    for (const PlayNode &white : black.replies) {
      if (white.mateIn != black.mateIn)
        continue;
      lines.push_back(line + White(white, number + 1));
      Replies(white, number + 1);
      line.assign(head.size(), ' ');
    }
    if (black.cut)
      lines.push_back(head + "...");
  }

  static std::string Indent(int columns) {
    return std::string(static_cast<std::size_t>(columns), ' ');
  }

private:
  static std::string White(const PlayNode &white, int number) {
    return std::to_string(number) + '.' + Printed(white) + (white.dual ? " (dual)" : "") +
           (white.cut ? " ..." : "");
  }
};

void NodeFields(std::string &json, const PlayNode &node);

void NodeList(std::string &json, const char *name, const std::vector<PlayNode> &nodes,
              bool (*keep)(const PlayNode &) = nullptr) {
  json += ",\"";
  json += name;
  json += "\":[";
  bool first = true;
  for (const PlayNode &node : nodes) {
    if (keep != nullptr && !keep(node))
      continue;
    json += first ? "{" : ",{";
    NodeFields(json, node);
    json += '}';
    first = false;
  }
  json += ']';
}

void Flag(std::string &json, const char *name, bool value) {
  if (value) {
    json += ",\"";
    json += name;
    json += "\":true";
  }
}

void NodeFields(std::string &json, const PlayNode &node) {
  // Move texts are plain ASCII letters, digits and signs: nothing to escape.
  json += "\"uci\":\"" + problem::CoordinateMove(LineOf(node), node.white) + "\",\"text\":\"" +
          Notation(node) + '"';
  Flag(json, "mate", Mates(node));
  Flag(json, "check", Mark(node) == '+');
  if (node.mateIn > 0)
    json += ",\"mateIn\":" + std::to_string(node.mateIn);
  Flag(json, "dual", node.dual);
  Flag(json, "byThreat", node.byThreat);
  Flag(json, "cut", node.cut);
  if (!(node.white && Mates(node)))
    NodeList(json, "replies", node.replies);
}

std::string DocumentStart(const char *kind, int moves) {
  return std::string("{\"kind\":\"") + kind + "\",\"moves\":" + std::to_string(moves);
}

} // namespace

std::vector<std::string> PlayText(const FirstMovePlay &play) {
  const PlayNode &move = play.move;
  std::string head = "1." + Printed(move) + (play.key ? " !" : " ?");
  if (!play.threat.empty()) {
    head += " threat:";
  } else if (play.Zugzwang()) {
    head += " zugzwang.";
  } else if (move.replies.empty() && !play.Checks()) {
    head += " stalemate.";
  }
  TextTree tree;
  tree.lines.push_back(head);
  for (const PlayNode &white : play.threat)
    tree.WhiteAlone(white, 2);
  tree.Replies(move, 1);
  for (const PlayNode &black : move.replies) {
    if (black.refutes)
      tree.lines.push_back(TextTree::Indent(3) + "but 1..." + Printed(black) + " !");
  }
  bool cut = AnyCut(move);
  for (const PlayNode &white : play.threat)
    cut = cut || AnyCut(white);
  if (cut)
    tree.lines.push_back(TextTree::Indent(3) + "(cut short: the play goes on beyond its budget)");
  return tree.lines;
}

std::vector<std::string> SetPlayText(const std::vector<PlayNode> &blackMoves) {
  TextTree tree;
  for (const PlayNode &black : blackMoves) {
    if (!black.refutes)
      tree.Black(black, 1);
  }
  if (tree.lines.empty())
    return {"set play: none"};
  tree.lines.insert(tree.lines.begin(), "set play:");
  return tree.lines;
}

std::string PlayJson(const FirstMovePlay &play, int moves) {
  std::string json = DocumentStart(play.key ? "key" : "try", moves) + ',';
  NodeFields(json, play.move);
  json += std::string(",\"zugzwang\":") + (play.Zugzwang() ? "true" : "false");
  NodeList(json, "threat", play.threat);
  if (!play.key)
    NodeList(json, "refutations", play.move.replies, [](const PlayNode &b) { return b.refutes; });
  return json + '}';
}

std::string SetPlayJson(const std::vector<PlayNode> &blackMoves, int moves) {
  std::string json = DocumentStart("setPlay", moves);
  NodeList(json, "replies", blackMoves);
  return json + '}';
}

} // namespace engine

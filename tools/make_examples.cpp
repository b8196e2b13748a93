// Writes the example problems that ship with the program, from a table of published
// directmates, into the folder named on the command line.
#include "problem/cmt_file.h"
#include "problem/fen.h"

#include <cstdio>
#include <filesystem>

namespace {

struct Example {
  const char* file;
  const char* fen;
  int moves;
  const char* comment;
};

const Example kExamples[] = {
    {"Schoepfer-mate-in-2.cmt", "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", 2,
     "G. Schoepfer, Neue Leipziger Zeitung 1927.\nWhite to play and mate in 2 moves."},
    {"Karge-mate-in-3.cmt", "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1", 3,
     "Fritz Karge, STERN 46/79, 8.11.1979.\nWhite to play and mate in 3 moves."},
    {"Ebert-mate-in-3.cmt", "8/2Pp4/8/N1P5/4p3/P1k5/8/R3K3 w Q - 0 1", 3,
     "Hilmar Ebert, STERN 33/91, 8.08.1991.\nWhite to play and mate in 3 moves. "
     "Castling is allowed."},
    {"Dawson-mate-in-2.cmt", "nk6/brpp2p1/brp4p/1p6/8/8/8/4K2R w - - 0 1", 2,
     "Thomas R. Dawson, Illustrated London News 1913.\nWhite to play and mate in 2 moves. "
     "White may not castle: the king or the rook has moved."},
    {"Lehmensick-mate-in-4.cmt", "3b4/8/8/8/1p1P1p1p/5P1p/8/RRBNK1k1 w Q - 0 1", 4,
     "Jochen Lehmensick, STERN 17/91, 18.04.1991.\nWhite to play and mate in 4 moves."},
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-examples FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const Example& example : kExamples) {
    problem::FenPosition position;
    std::string error;
    if (!problem::ParseFen(example.fen, position, error)) {
      std::fprintf(stderr, "%s: %s\n", example.file, error.c_str());
      return 1;
    }
    problem::ProblemFile file;
    file.board = position.board;
    file.maxDepth = static_cast<short>(example.moves - 1);
    file.comment = example.comment;
    // A box is ticked exactly where the problem allows castling.
    file.castling = {static_cast<short>((position.castlingRights & 2) != 0),
                     static_cast<short>((position.castlingRights & 1) != 0),
                     static_cast<short>((position.castlingRights & 8) != 0),
                     static_cast<short>((position.castlingRights & 4) != 0)};
    if (!problem::WriteProblemFile(folder / example.file, file, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", (folder / example.file).c_str());
  }
  return 0;
}

// The benchmark's problems that the plain search finishes within a few seconds, with the
// published keys of those quick enough for the sanitizer build.
#pragma once

#include <vector>

namespace testing_support {

struct BenchmarkProblem {
  const char *id;
  const char *fen;
  int moves;
  const char *keys = nullptr; // coordinate moves, castling as the king's; "" for none
};

inline constexpr BenchmarkProblem kBenchProblems[] = {
    {"b01", "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", 2, "a7f2"},
    {"b02", "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1", 3, "f8e7"},
    {"b03", "8/8/8/8/R7/2k5/8/4K2R w K - 0 1", 3},
    {"b04", "8/8/pQ6/p1P5/P1p5/5p2/2k2P2/R3K3 w Q - 0 1", 3},
    {"b05", "4Q3/8/8/3pP3/3p1BN1/4p2P/6k1/4K2R w K - 0 1", 3},
    {"b06", "3b4/8/8/8/1p1P1p1p/5P1p/8/RRBNK1k1 w Q - 0 1", 4, "b1b2"},
    {"b07", "2n1k2r/R2R2p1/2P1K2p/8/8/8/8/8 w k - 0 1", 4, "d7d8"},
    {"b08", "8/2Pp4/8/N1P5/4p3/P1k5/8/R3K3 w Q - 0 1", 3, "e1c1"},
    {"b10", "B3k2r/2pp1p1p/1p3B2/1np1p2p/Q7/8/8/R3K3 w Qk - 0 1", 4},
    {"b11", "r3k3/2Qp3R/1p6/1b2K3/4p3/8/5p2/8 w q - 0 1", 4},
    {"b12", "nk6/brpp2p1/brp4p/1p6/8/8/8/4K2R w - - 0 1", 2},
    {"b13", "1b3q1n/2pb2r1/4P3/r3pp2/3PP2p/P1NkPNP1/Q2B4/R3K2R w KQ - 0 1", 3},
    {"b14", "5k2/7R/8/Pn6/8/8/8/R3K3 w Q - 0 1", 4, "e1c1"},
    {"b15", "5r2/2P1p3/1K1k2N1/1bN1p1p1/2P1P1pB/6PB/5P2/5r1R w - - 0 1", 2},
    {"b16", "k7/2K5/4P3/8/2B5/8/8/8 w - - 0 1", 3},
    {"b17", "3Q3K/8/3n4/4P3/p2kP3/P5NR/1R3p1B/5B1N w - - 0 1", 2},
    {"b18", "2Q1b2K/2p3B1/1R6/4N1pp/2rk4/1pNp2P1/2pp2P1/8 w - - 0 1", 2},
    {"b19", "5RK1/8/3p1N1p/3P3R/5k2/3r1r2/5P2/1B3Q2 w - - 0 1", 2},
    {"b20", "k7/P7/K7/5p2/8/7B/4p1P1/8 w - - 0 1", 3, ""},
    {"b21", "k3N3/P7/K6p/8/8/8/8/8 w - - 0 1", 2, "a6b6 e8c7"},
    {"b22", "k7/P1p5/1K6/8/N7/8/8/8 w - - 0 1", 2},
    {"b23", "1k6/8/K1R5/2p5/8/8/8/8 w - - 0 1", 2},
    {"b24", "1k6/8/K1R5/2n5/8/8/8/8 w - - 0 1", 2},
    {"b25", "k3n3/P7/K1p1N3/8/8/2p5/1P6/8 w - - 0 1", 3},
    {"g01", "2N2B2/2N1r3/8/3nQ2R/1k6/8/2B5/R3K3 w Q - 0 1", 2, "e1c1"},
    {"g02", "3R4/8/8/2p3K1/2p5/5B2/R1pPNB2/1b1k4 w - - 0 1", 2},
    {"g03", "5R2/1N3p2/3pk3/6PR/3Q4/B3K3/8/8 w - - 0 1", 2},
    {"g04", "6rk/PP1PPPnp/1N1BN2P/7R/4B3/2Q5/P3KP2/6R1 w - - 0 1", 2},
    {"g05", "8/7B/2R5/4Nr1p/4kb1Q/8/1B6/4K2R w K - 0 1", 2, "e1g1"},
    {"g06", "8/8/8/8/8/8/4QRb1/R3K2k w Q - 0 1", 2},
    {"g07", "1K3RQ1/ppn3p1/r3N1pq/2pN4/2b1kPB1/b5r1/8/2BR4 w - - 0 1", 3},
    {"g08", "2K4N/3PP1k1/5N2/6n1/8/8/8/8 w - - 0 1", 3, "e7e8n"},
    {"g09", "2rB4/1b1n1pp1/pn4Rp/1Q2NB2/2pK1k1r/3RN1pr/4P3/8 w - - 0 1", 3},
    {"g10", "8/3P2P1/3N4/3k4/4N3/4K3/8/8 w - - 0 1", 3, "d7d8n g7g8q"},
    {"g11", "K1R5/1P1r1n2/1pR3N1/2p1p2r/1BpkBp1N/1bp2Q2/2P2P2/1n2b3 w - - 0 1", 3},
    {"g12", "k7/1pR2R2/p6r/8/1N6/2K5/3P4/4B3 w - - 0 1", 3, "c7c8 f7f8"},
    {"g13", "k7/1pRN1p2/p3r2p/Q2N2p1/3PPP2/8/5P1P/R5K1 w - - 0 1", 3,
     "a5a6 a5b4 a5b5 a5c5 c7b7 c7c8 d5b6 d7b6"},
    {"g14", "n3b3/Npp4R/p1pp4/k7/N7/Kp6/8/R5B1 w - - 0 1", 3, "a4b6 a4c5 g1d4 g1e3 g1f2"},
    {"g15", "1K2N2B/p1pR1P1p/1pP1k3/3p2nB/1r3qP1/1N1r4/4p3/4b3 w - - 0 1", 4},
    {"g16", "1N3b2/p1kN3p/K4PPP/P1p1P3/2R2P2/1P1P4/3pppBB/3Q1R2 w - - 0 1", 4},
    {"g17", "2b5/2N2p2/6p1/4N3/1B1k1p1r/Kp6/n7/4Q3 w - - 0 1", 4},
    {"g18", "2K3n1/1pB1b3/1R3pP1/2Nk1p2/B6q/1N1P4/2Pp2P1/6r1 w - - 0 1", 4},
    {"g19", "3R1B1K/5p2/2p2p2/b1rPNP1n/q1rkNP2/1Pp2Q1p/1n6/5B2 w - - 0 1", 4},
    {"g20", "4K2b/B3P2N/1Q1PP1N1/1R1p3r/1r1pk1B1/6P1/b1P1PP2/n7 w - - 0 1", 4},
    {"g21", "4Q2B/8/2p5/6R1/1p3p1p/1p1k1p2/8/1K6 w - - 0 1", 4},
    {"g22", "4r2n/p1RB1p2/3p4/2pk2P1/K1N5/3P4/1p1N1B1b/8 w - - 0 1", 4},
    {"g23", "8/1p3b2/R5pP/B1pPrn2/3b1k1P/3BNppK/2R5/6Q1 w - - 0 1", 4},
    {"g24", "r2qk2r/pp1nbRpp/4Q3/1B6/8/3p4/PPP3PP/5RK1 w kq - 0 1", 4},
    {"g25", "3R1n2/1p3B2/1Pkbr1r1/p6b/P3P1p1/2p1B3/8/R3K3 w Q - 0 1", 5},
};

template <class Keep> std::vector<BenchmarkProblem> BenchProblemsWhere(Keep keep) {
  std::vector<BenchmarkProblem> problems;
  for (const BenchmarkProblem &problem : kBenchProblems) {
    if (keep(problem))
      problems.push_back(problem);
  }
  return problems;
}

} // namespace testing_support

// A shared library that loads but is no in-process server: it lacks the entry points.
extern "C" __attribute__((visibility("default"))) int NotAServer() { return 1; }

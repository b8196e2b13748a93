// Text comparison against a wildcard pattern, without regard to case: "?" one character,
// "*" any run, "#" one digit, "[...]" one character of a set ("[a-c]", "[!x]" for not x).
#pragma once

#include <QString>

bool IsLike(const QString &text, const QString &pattern);

// A pattern that matches `text` alone (still without regard to case): each wildcard character
// stands in a set of its own, "[*]".
QString LikeLiteral(const QString &text);

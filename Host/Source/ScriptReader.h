// Reading the host's scripts: which lines are commands, and the words of a
// command line.
#ifndef PDEHOST_SCRIPTREADER_H
#define PDEHOST_SCRIPTREADER_H

#include <string>
#include <vector>

// True for a line that holds no command: empty, only blanks, or a comment
// (its first non-blank character is '#').
bool IsBlankOrComment(const std::string& line);

// Splits a command line into words. Blanks (spaces and tabs) separate words.
// A double-quoted part keeps blanks and takes the escapes \" \\ \n \r \t,
// \uXXXX and \UXXXXXXXX (a Unicode character by its hex code); outside quotes
// every character stands for itself. Parts that touch make one word, so
// KEY="two words" is the single word KEY=two words and "" is an empty word.
// False, with the reason in *problem, for an unterminated quote, an unknown
// escape, a code that is no character (or NUL), or a line that is not UTF-8.
bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* problem);

#endif

#pragma once

#include <string>

// Why MeCab could not start with these arguments (the form given to
// MeCab::createTagger, the program name first), for an error message.
std::string analyserFailure(int count, char** arguments);

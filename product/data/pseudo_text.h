#pragma once
// Text that looks like a language without being one: words built from the language's syllable
// parts, drawn from a vocabulary with a few frequent words and many rare ones, as in real text,
// so that it also compresses like real text.

#include "product/data/languages.h"
#include "product/data/random_stream.h"

#include <string>
#include <vector>

namespace product_data {

class pseudo_text {
public:
    pseudo_text(const language& language, random_stream& random);

    std::wstring word();
    // Words separated by blanks, the first one capitalised.
    std::wstring phrase(int min_words, int max_words);
    // A phrase ending with a full stop.
    std::wstring sentence(int min_words, int max_words);

private:
    std::wstring make_word(const language& language);

    random_stream& random_;
    std::vector<std::wstring> vocabulary_;
};

} // namespace product_data

#include "product/data/pseudo_text.h"

#include "platform/os/unicode.h"

#include <cmath>

namespace product_data {
namespace {

constexpr std::size_t vocabulary_size = 900;

template <class List> const auto& pick(random_stream& random, const List& list) {
    return list[random.below(static_cast<std::uint32_t>(list.size()))];
}

} // namespace

pseudo_text::pseudo_text(const language& language, random_stream& random) : random_(random) {
    vocabulary_.reserve(vocabulary_size);
    while (vocabulary_.size() < vocabulary_size)
        vocabulary_.push_back(make_word(language));
}

std::wstring pseudo_text::make_word(const language& language) {
    // Short words are the common ones: the vocabulary's front is drawn most often.
    const int syllables = 1 + static_cast<int>(vocabulary_.size() * 4 / vocabulary_size);
    std::wstring text;
    for (int i = 0; i < syllables; ++i) {
        text += pick(random_, language.onsets);
        text += pick(random_, language.vowels);
        if (i + 1 == syllables || random_.below(3) == 0)
            text += pick(random_, language.codas);
    }
    return text;
}

std::wstring pseudo_text::word() {
    const double u = random_.unit();
    return vocabulary_[static_cast<std::size_t>(std::floor(u * u * u * vocabulary_size))];
}

std::wstring pseudo_text::phrase(int min_words, int max_words) {
    const int count = random_.between(min_words, max_words);
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += L' ';
        text += word();
    }
    if (!text.empty())
        text[0] = platform::os::to_upper(text[0]);
    return text;
}

std::wstring pseudo_text::sentence(int min_words, int max_words) {
    return phrase(min_words, max_words) + L'.';
}

} // namespace product_data

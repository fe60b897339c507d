#pragma once

// How a package search matches an entry's name: by plain containment (the package stores, whose
// entries only the package manager removes), or as a word (see TermMatcher) where what is found
// goes to the Trash.
enum class NameRule
{
    containment,
    word,
};

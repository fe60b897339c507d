#pragma once

#include "scanner/PlistValues.h"
#include "scanner/PropertyList.h"

#include <QString>

#include <vector>

// The structure of an XML property list, shared by its two readers: each tokenizes the document
// its own way and reports what it meets, and this decides whether that may come there and
// collects the top-level dictionary (and the first item of each of its arrays). A bare value
// without the <plist> wrapper is allowed, a <plist> holds one value, which must be a dictionary;
// keys come only in dictionaries, each followed by its value; end tags come only for containers. A
// later value under the same key replaces the earlier one, so a later non-string value removes an
// earlier string.
//
// Open containers live on an explicit stack whose size is the nesting depth, so a list nested
// 100,000 deep costs memory, not call depth.
namespace PropertyList {

class PlistStructure
{
public:
    // What the reader must do with an element that just opened.
    enum class Step : quint8
    {
        Fail,      // it may not come here: the list is broken
        Container, // a dict, array or plist: its content follows, then close()
        ReadText,  // a key or leaf: read its text up to its end tag and pass it to text()
        SkipText,  // a key or string below the top level: read past its end tag, text() optional
    };

    // Inline: the one-pass reader calls these for every element, and out of line they cost it
    // some 6% more instructions.
    Q_ALWAYS_INLINE Step open(Element element);
    // The text of the key or leaf just opened; false when it is no value of its type.
    Q_ALWAYS_INLINE bool text(QString &&text);
    // An end tag; the element is the one named by the tag.
    Q_ALWAYS_INLINE bool close(Element element);
    // The document ended: true when it held its value and closed every container.
    bool finished() const { return m_sawTopValue && m_stack.empty(); }
    TopLevelDictionary takeDictionary() { return std::move(m_dict); }

private:
    // What an open container expects next.
    enum class Frame : quint8
    {
        PlistEmpty,  // <plist> before its one value
        PlistFilled, // <plist> after its one value
        DictKey,     // a dictionary waiting for a <key> or its end
        DictValue,   // a dictionary waiting for the value of the key just read
        Array,
    };

    std::vector<Frame> m_stack;
    size_t m_topDictDepth = 0; // the stack's size inside the top-level dictionary; 0 before it
    bool m_sawTopValue = false;
    Element m_textElement = Element::Unknown; // the key or leaf whose text comes next
    bool m_textAtTop = false;                 // it is a key or value of the top-level dictionary
    bool m_textIsArrayHead = false;           // it is the first item of a top-level array
    bool m_arrayHeadNext = false;             // a top-level array just opened, still empty
    QString m_pendingKey;                     // the top-level dictionary's last key
    TopLevelDictionary m_dict;
};

PlistStructure::Step PlistStructure::open(Element element)
{
    bool isTopValue = false;
    bool isTopDictValue = false;
    bool isArrayHead = false;
    if (m_stack.empty()) {
        if (m_sawTopValue)
            return Step::Fail;
        if (element == Element::Plist) {
            m_stack.push_back(Frame::PlistEmpty);
            return Step::Container;
        }
        isTopValue = true; // a bare value without the <plist> wrapper
    } else {
        switch (m_stack.back()) {
        case Frame::PlistEmpty:
            m_stack.back() = Frame::PlistFilled;
            isTopValue = true;
            break;
        case Frame::PlistFilled:
            return Step::Fail; // a list holds one value
        case Frame::DictKey:
            if (element != Element::Key)
                return Step::Fail;
            m_stack.back() = Frame::DictValue;
            m_textElement = Element::Key;
            m_textAtTop = m_stack.size() == m_topDictDepth;
            return m_textAtTop ? Step::ReadText : Step::SkipText;
        case Frame::DictValue:
            m_stack.back() = Frame::DictKey;
            isTopDictValue = m_stack.size() == m_topDictDepth;
            if (isTopDictValue)
                m_dict.arrayHeads.remove(m_pendingKey);
            break;
        case Frame::Array:
            isArrayHead = m_arrayHeadNext;
            m_arrayHeadNext = false;
            break;
        }
    }

    if (isTopValue) {
        if (element != Element::Dict)
            return Step::Fail;
        m_sawTopValue = true;
        m_stack.push_back(Frame::DictKey);
        m_topDictDepth = m_stack.size();
        return Step::Container;
    }
    switch (element) {
    case Element::Dict:
    case Element::Array:
        if (isTopDictValue)
            m_dict.strings.remove(m_pendingKey);
        m_stack.push_back(element == Element::Dict ? Frame::DictKey : Frame::Array);
        m_arrayHeadNext = isTopDictValue && element == Element::Array;
        return Step::Container;
    case Element::Plist:
    case Element::Key:
    case Element::Unknown:
        return Step::Fail; // not a value
    default:
        m_textElement = element;
        m_textAtTop = isTopDictValue;
        m_textIsArrayHead = isArrayHead;
        // Any text is a string: below the top level only the other leaves' texts matter.
        return element == Element::String && !isTopDictValue && !isArrayHead ? Step::SkipText
                                                                             : Step::ReadText;
    }
}

bool PlistStructure::text(QString &&text)
{
    if (m_textElement == Element::Key) {
        if (m_textAtTop) {
            m_dict.keys.insert(text);
            m_pendingKey = std::move(text);
        }
        return true;
    }
    if (!isValidLeaf(m_textElement, text))
        return false;
    if (m_textAtTop) {
        if (m_textElement == Element::String)
            m_dict.strings.insert(m_pendingKey, text);
        else
            m_dict.strings.remove(m_pendingKey);
    } else if (m_textIsArrayHead && m_textElement == Element::String) {
        m_dict.arrayHeads.insert(m_pendingKey, std::move(text));
    }
    return true;
}

bool PlistStructure::close(Element element)
{
    if (m_stack.empty())
        return false;
    const Frame frame = m_stack.back();
    const bool matches = (element == Element::Plist && frame == Frame::PlistFilled) ||
                         (element == Element::Dict && frame == Frame::DictKey) ||
                         (element == Element::Array && frame == Frame::Array);
    if (!matches)
        return false;
    m_stack.pop_back();
    m_arrayHeadNext = false;
    return true;
}

} // namespace PropertyList

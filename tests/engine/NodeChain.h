#pragma once

#include <mecab.h>

#include <cstring>
#include <deque>
#include <string>

// A hand-built analyser node list: BOS, the words given, EOS, linked through
// prev and next like the list parseToNode answers. As in a real list, the
// surfaces point into one sentence and are not zero-terminated.
class NodeChain {
public:
    struct Word {
        std::string surface;
        std::string feature;
        unsigned char charType = 2;
    };

    explicit NodeChain(std::initializer_list<Word> words)
    {
        for (const Word& word : words)
            m_sentence += word.surface;
        add(0, 0, "BOS/EOS,*,*,*,*,*,*,*,*", 0);
        size_t at = 0;
        for (const Word& word : words) {
            add(at, word.surface.size(), word.feature, word.charType);
            at += word.surface.size();
        }
        add(at, 0, "BOS/EOS,*,*,*,*,*,*,*,*", 0);
    }
    NodeChain(const NodeChain&) = delete;
    NodeChain& operator=(const NodeChain&) = delete;

    const MeCab::Node* first() const { return &m_nodes.front(); }
    // The word at index i (0 is the first word after BOS).
    const MeCab::Node* word(size_t i) const { return &m_nodes[i + 1]; }

private:
    void add(size_t at, size_t length, const std::string& feature, unsigned char charType)
    {
        m_features.push_back(feature);
        MeCab::Node node;
        std::memset(&node, 0, sizeof node);
        node.surface = m_sentence.data() + at;
        node.length = static_cast<unsigned short>(length);
        node.feature = m_features.back().c_str();
        node.char_type = charType;
        m_nodes.push_back(node);
        if (m_nodes.size() > 1) {
            MeCab::Node& prev = m_nodes[m_nodes.size() - 2];
            prev.next = &m_nodes.back();
            m_nodes.back().prev = &prev;
        }
    }

    std::string m_sentence;
    // Deques keep their elements in place as they grow.
    std::deque<std::string> m_features;
    std::deque<MeCab::Node> m_nodes;
};

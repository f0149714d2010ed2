// The character of a key as VirtualKeyToAscii gives it, over translations that behave as the
// platform's: a dead key keeps its accent pending for the next press and combines it with that
// press, as the French layout's circumflex and the German layout's acute do under Windows.
#include "KeyboardLayout.h"

#include <gtest/gtest.h>

#include <utility>
#include <optional>

namespace {

constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kE = 0x45;
constexpr uint32_t kQ = 0x51;
constexpr uint32_t kAccentKey = 0xDD; // VK_OEM_6: "^" on the French layout, "´" on the German one
constexpr uint8_t kCircumflex = '^';
constexpr uint8_t kAcute = 0xB4; // in code page 1252

// A layout with one dead key, its accent combining with "e" only. The accent stays pending between
// presses, as in the thread's keyboard state under Windows; keepsAccent false is a translation that
// never keeps one (Wine's X11 driver).
class DeadKeyLayout {
public:
    DeadKeyLayout(uint8_t accent, uint8_t accentedE, bool keepsAccent = true)
        : m_accent(accent), m_accentedE(accentedE), m_keepsAccent(keepsAccent)
    {
    }

    KeyTranslation Press(uint32_t vk)
    {
        ++presses;
        const std::optional<uint8_t> pending = m_pending;
        m_pending.reset();
        const uint8_t plain = Plain(vk);
        if (vk == kAccentKey && !pending) {
            if (m_keepsAccent)
                m_pending = m_accent;
            return Chars(-1, m_accent);
        }
        if (!pending)
            return plain != 0 ? Chars(1, plain) : Chars(0, 0);
        if (vk == kE)
            return Chars(1, m_accentedE);
        if (vk == kSpace)
            return Chars(1, m_accent);
        // An accent that does not combine comes out before the key's own character.
        return Chars(2, *pending, plain);
    }
    KeyTranslator Translator()
    {
        return [this](uint32_t vk) { return Press(vk); };
    }

    int presses = 0;

private:
    uint8_t Plain(uint32_t vk) const
    {
        if (vk == kSpace)
            return ' ';
        if (vk >= 0x41 && vk <= 0x5A)
            return static_cast<uint8_t>(vk - 0x41 + 'a');
        return vk == kAccentKey ? m_accent : 0;
    }
    static KeyTranslation Chars(int count, uint8_t first, uint8_t second = 0)
    {
        KeyTranslation t;
        t.count = count;
        t.chars[0] = first;
        t.chars[1] = second;
        return t;
    }

    uint8_t m_accent;
    uint8_t m_accentedE;
    bool m_keepsAccent;
    std::optional<uint8_t> m_pending;
};

TEST(DeadKey, TheAccentIsShownAndTheUsersNextKeystrokeIsNotChangedByIt)
{
    for (auto [accent, accentedE] : {std::pair<uint8_t, uint8_t>{kCircumflex, 0xEA}, {kAcute, 0xE9}}) {
        DeadKeyLayout layout(accent, accentedE);
        EXPECT_EQ(TranslatedCharacter(kAccentKey, layout.Translator()), accent);
        // What the user types next comes out as typed: "e", not the accented "e".
        const KeyTranslation next = layout.Press(kE);
        EXPECT_EQ(next.count, 1);
        EXPECT_EQ(next.chars[0], 'e') << "the accent asked about was still pending";
        // And the user's own accent still combines.
        EXPECT_EQ(layout.Press(kAccentKey).count, -1);
        EXPECT_EQ(layout.Press(kE).chars[0], accentedE);
    }
}

TEST(DeadKey, WithoutAPendingAccentTheDeadKeysOwnAccentIsShownAndNoOtherKeysCharacter)
{
    // A translation that keeps no accent pending answers every press of the dead key with its
    // accent: the accent is still what the key shows, and the presses end.
    DeadKeyLayout layout(kCircumflex, 0xEA, false);
    EXPECT_EQ(TranslatedCharacter(kAccentKey, layout.Translator()), kCircumflex);
    EXPECT_LE(layout.presses, 5);
    EXPECT_EQ(layout.Press(kE).chars[0], 'e');
}

TEST(DeadKey, PlainKeysGiveTheirCharacterAndAKeyWithoutOneGivesNone)
{
    DeadKeyLayout layout(kCircumflex, 0xEA);
    EXPECT_EQ(TranslatedCharacter(kQ, layout.Translator()), 'q');
    EXPECT_EQ(TranslatedCharacter(0x70, layout.Translator()), 0) << "F1 types nothing";
    EXPECT_EQ(layout.presses, 2) << "a key that is no dead key is pressed once";
    // An accent the user left pending comes out first: the first of the two characters.
    EXPECT_EQ(layout.Press(kAccentKey).count, -1);
    EXPECT_EQ(TranslatedCharacter(kQ, layout.Translator()), kCircumflex);
}

} // namespace

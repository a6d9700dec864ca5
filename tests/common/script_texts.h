// Texts in the scripts every text surface is tested with, as UTF-8, the programs' code page.
// Pure: no platform headers.
#pragma once

namespace scripts_test {

struct ScriptText {
    const char* script;
    const char* text;  // a reminder, hint or list text
    const char* name;  // a folder or file name
};

inline constexpr ScriptText kScriptTexts[] = {
    {"Latin with accents", "Réunion équipe à 10 h, café", "Zoë Überwachung"},
    {"Cyrillic", "Встреча команды в 10:00", "Ночь"},
    {"Greek", "Συνάντηση ομάδας στις 10", "Νύχτα"},
    {"CJK", "会议 10:00 请准备资料", "会议资料"},
    {"emoji outside the BMP", "Coffee ☕ break 😀 now", "Pause 😀"},
    {"right-to-left", "פגישה בשעה 10", "שלום"},
};

}  // namespace scripts_test

// What the macro manager asks of its two editor pages, the basic recorder and the advanced timing
// editor. Both show the macro the manager has selected; only the advanced page holds edits that
// have not reached the macro yet.
#pragma once

class MacroEditorPage {
public:
    virtual ~MacroEditorPage() = default;

    // Show macro `macro` of set `set`; -1 in either means no macro, and the page shows nothing.
    // Anything the page held and had not written into the macro is dropped.
    virtual void LoadMacro(int set, int macro) = 0;

    // Write the page's pending edits into the macro it shows. A page that writes every change at
    // once has nothing pending.
    virtual void CommitBars() {}
};

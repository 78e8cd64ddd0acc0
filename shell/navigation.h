#pragma once
// Moving between wizard pages, and the exit confirmation every page offers.

namespace orvane {

class Page;

enum class PageId { Pre1, Pre2, Main, Main0, Main2 };

// Creates the page afresh and runs its load; the caller shows it.
Page* CreatePage(PageId id);

// Shows the target page (created and loaded afresh) as an ordinary window, then
// unloads the current one, so a page is always on screen. Returns the target.
Page* GoToPage(Page* current, PageId target);

// Asks text 7 under title text 8 with OK and Cancel. OK unloads the current
// page and ends the program at once; Cancel changes nothing. Returns true when
// the program was ended.
bool ConfirmExit(Page* current);

}  // namespace orvane

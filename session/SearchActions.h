#pragma once

// What the rules of the picture buttons may read of the search and run in
// it. The session implements it; the rules see nothing else of the session.
class SearchActions {
public:
    virtual ~SearchActions() = default;

    // ---- what the rules decide on ------------------------------------------------
    virtual bool hasResult() const = 0;
    virtual bool anySelected() const = 0;
    // Thumbnails are being drawn.
    virtual bool drawing() const = 0;
    // A drawing runs with its bar shown and is not a resumed one: a press on
    // a selected button is refused.
    virtual bool drawingShowsProgress() const = 0;
    // The result is the whole catalogue.
    virtual bool allMode() const = 0;
    // A selection, a result or an open photo window: the clear button has
    // something to clear.
    virtual bool somethingToClear() const = 0;

    // ---- steps ---------------------------------------------------------------------
    // Every pointed-at look back to its plain look, the help box hidden.
    virtual void resetHover() = 0;
    // The condition strip shows the selection (or all data).
    virtual void showConditions() = 0;
    // A refused click: the system beep.
    virtual void beep() = 0;
    // A right release over an idle look: the menu, as over the background.
    virtual void openMenu() = 0;

    // ---- the search ------------------------------------------------------------------
    // Selects an attribute and searches. True when the thumbnail mode, read
    // now and remembered, draws thumbnails with every click.
    virtual bool select(int category, int index) = 0;
    // Releases an attribute and searches again, or drops its category. True
    // when the remembered thumbnail mode redraws with every click.
    virtual bool deselect(int category, int index) = 0;
    // Thumbnails are asked for the current result: drawn, resumed, or a
    // running drawing is interrupted.
    virtual void requestThumbnails() = 0;
    // The same without asking: nothing is drawn unless there is something.
    virtual void drawResult() = 0;

    // ---- the commands of the buttons under the panels (also the menu's) -------------------
    virtual void showThumbnails() = 0;
    virtual void interrupt() = 0;
    virtual void showAll() = 0;
    virtual void clear() = 0;
    virtual void quit() = 0;
};

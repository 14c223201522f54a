// Progress shown during long work: a line that the host redraws in place, as a terminal progress bar does.
#pragma once

#include <functional>

#include "afx/afxstr.h"
#include "afx/afxtypes.h"

class CKXProgressBar {
public:
    // caption: title of the work; nUpper: number of steps; nSize: width of the bar in characters (0 or less:
    // 50); bSmooth and nPane are kept for callers that pass them and change nothing here.
    CKXProgressBar(LPCTSTR caption, int nUpper = 100, int nSize = 50, BOOL bSmooth = FALSE, int nPane = 0);
    CKXProgressBar(const CKXProgressBar&) = delete;
    CKXProgressBar& operator=(const CKXProgressBar&) = delete;
    // Clears the class-wide current bar when it is this one, so that it never points to a deleted bar.
    ~CKXProgressBar();

    void SetText(LPCTSTR text);
    void SetRange(int nLower, int nUpper);
    void SetStep(int nStep);
    // Moves one step on (never past the upper bound) and shows the line. Returns the previous position.
    int StepIt();
    // Takes nSteps steps at once with the text of the last one: the line StepIt shows after SetText,
    // without the one SetText shows before it. Returns the previous position.
    int StepIt(LPCTSTR text, int nSteps = 1);
    int SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    int GetLower() const { return m_nLower; }
    int GetUpper() const { return m_nUpper; }
    const CString& GetCaption() const { return m_strCaption; }
    const CString& GetText() const { return m_strText; }
    // Percentage done, 0..100.
    int GetPercent() const;
    // The caption without the colon some callers end it with.
    CString GetTitle() const;
    // The line as shown, e.g. "Adding Connections: Pin A1 3 of 10 [#####.....] 30%": the title once, the
    // step's text, the steps done and the percentage.
    CString FormatLine() const;

    // Lets the host process pending work (its message pump, if it installed one). Returns FALSE when the
    // host asked to cancel the work, TRUE otherwise.
    BOOL PeekAndPump(BOOL bCancelOnEscape = TRUE);

    // The bar of the work that runs now; callers set and clear it.
    static CKXProgressBar* m_pProgressBar;

    // Where the lines go. The host installs a sink that redraws its status line; without one nothing is shown.
    // The second argument is TRUE when the bar is closing (the host ends the line).
    using LineSink = std::function<void(const CString& line, BOOL bDone)>;
    static void SetLineSink(LineSink sink);
    // Called by PeekAndPump; returns FALSE to cancel. Without one, PeekAndPump returns TRUE.
    using PumpHook = std::function<BOOL()>;
    static void SetPumpHook(PumpHook hook);

private:
    void Show(BOOL bDone) const;

    CString m_strCaption;
    CString m_strText;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    int m_nStep = 1;
    int m_nSize = 50;
    // What the last line showed: a step that changes none of it shows no new line.
    mutable bool m_bShown = false;
    mutable int m_nShownPercent = -1;
    mutable CString m_strShownText;
};

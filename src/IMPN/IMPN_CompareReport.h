#pragma once
// The comparison of two versions of a job as text, one line a finding, tab-separated. First one
// line per compared separation, in the old version's order of sheets, front before back, inks in
// the surface's order:
//     SHEET  front|back  INK  ADDED  REMOVED
// (SHEET counts the old version's sheets from 1, INK is the old version's name), each followed,
// when regions are asked for, by its changed regions, one a line: a tab, TOP,LEFT,WIDTH,HEIGHT.
// Then, in the same order and then the new version's own sheets, whatever has no partner or
// cannot be compared:
//     only in old|only in new  TITLE  SIGNATURE  WEB  [front|back  [INK]]
//     not comparable  TITLE  SIGNATURE  WEB  front|back  INK  REASON
// one line for a whole sheet or surface missing, not one per ink.

#include <cstdint>
#include <string>
#include <vector>

class IMPN_Registry;
class IMPN_WorkerPool;

class IMPN_CompareReport
{
public:
    struct Filter
    {
        int sheet = 0;    // from 1 in the old version's order; 0: every sheet
        int surface = -1; // 0 front, 1 back, -1 both
        std::string ink;  // empty: every ink; else that name, or without regard to case when no
                          // ink of a surface has exactly that name
        bool regions = false;
    };

    struct Outcome
    {
        std::string text;
        // Tiles that could not be decoded (their pixels count as changed).
        std::vector<std::string> warnings;
        // Anything shown differs, has no partner or cannot be compared.
        bool differs = false;
        // A separation's file could not be read: nothing was compared, text is empty.
        std::string unreadable;
    };

    // Compares what the filter shows; the separations of a work-and-turn sheet, on both of its
    // surfaces, are compared once. threads readers a separation, on the calling thread and the
    // pool's workers.
    static Outcome Run(IMPN_Registry& older, IMPN_Registry& newer, const Filter& filter,
                       IMPN_WorkerPool* pool = nullptr, unsigned threads = 1);
};

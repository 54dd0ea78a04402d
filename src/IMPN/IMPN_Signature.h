#pragma once
// A signature of a job: its sheets (webs), each held by one counted reference, in order of first
// arrival.

#include "IMPN/IMPN_Node.h"

#include <cstdint>
#include <string>
#include <vector>

class IMPN_Signature : public IMPN_Node
{
public:
    // Takes the signature number from the file's "Signature".
    explicit IMPN_Signature(TIFX_KRNFile& file);
    ~IMPN_Signature() override;

    // Finds the sheet of the file's web ("Surface" / 2) or makes a new one at the end.
    void AddFile(TIFX_KRNFile& file) override;
    // Releases every sheet; sheets held elsewhere live on.
    void Clear() override;
    void CollectSheets(std::vector<IMPN_Sheet*>& sheets) override;
    void Dump(std::ostream& out, int level) override;
    // "Signature 3 [2 Webs]".
    std::string GetName() const override;

    std::uint16_t GetNumber() const { return m_Number; }
    const std::vector<IMPN_Sheet*>& GetSheets() const { return m_Sheets; }

private:
    std::uint16_t m_Number = 0;
    std::vector<IMPN_Sheet*> m_Sheets;
};

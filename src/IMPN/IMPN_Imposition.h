#pragma once
// One job, by title: its signatures in order of first arrival.

#include "IMPN/IMPN_Node.h"
#include "IMPN/IMPN_Signature.h"

#include <memory>
#include <string>
#include <vector>

class IMPN_Imposition : public IMPN_Node
{
public:
    explicit IMPN_Imposition(std::string title);
    ~IMPN_Imposition() override;

    // Finds the signature of the file's "Signature" or appends a new one.
    void AddFile(TIFX_KRNFile& file) override;
    void Clear() override;
    void CollectSheets(std::vector<IMPN_Sheet*>& sheets) override;
    void Dump(std::ostream& out, int level) override;
    // "Brochure [1 Signature]", "Brochure [2 Signatures]".
    std::string GetName() const override;

    const std::string& GetTitle() const { return m_Title; }
    const std::vector<std::unique_ptr<IMPN_Signature>>& GetSignatures() const
    {
        return m_Signatures;
    }

private:
    std::string m_Title;
    std::vector<std::unique_ptr<IMPN_Signature>> m_Signatures;
};

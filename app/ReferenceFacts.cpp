#include "app/ReferenceFacts.h"

#include "refdb/CADORecordset.h"

namespace frusta {

std::string readAboutText(CADODatabase& database) {
    CADORecordset rs(database);
    if (!rs.Open("About", CADORecordset::openTable))
        return {};
    // Read field by field as text, so that long (memo) texts are read too.
    rs.MoveFirst();
    std::string text;
    const int fields = rs.GetFieldCount();
    for (int r = 0; r < rs.GetRecordCount() && !rs.IsEof(); ++r, rs.MoveNext()) {
        std::string line;
        for (int c = 0; c < fields; ++c) {
            std::string value;
            if (rs.GetFieldValue(c, value) && !value.empty())
                line += (line.empty() ? "" : ": ") + value;
        }
        if (!line.empty())
            text += (text.empty() ? "" : "\n") + line;
    }
    rs.Close();
    return text;
}

} // namespace frusta

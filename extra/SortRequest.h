#ifndef GRAPHICSDLL_SORTREQUEST_H
#define GRAPHICSDLL_SORTREQUEST_H

// Asks the next frame to re-order the characters. The draw order owns it;
// characters get it when they are made and raise it when their vertex format
// or material record changes, as the host does with RequestSort.
class SortRequest
{
public:
    void Raise() { raised = true; }
    bool Raised() const { return raised; }
    void Clear() { raised = false; }

private:
    bool raised = false;
};

#endif

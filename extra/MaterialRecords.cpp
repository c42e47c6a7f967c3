#include "MaterialRecords.h"

#include <new>

MaterialDesc* MaterialRecords::Create()
{
    MaterialDesc* record = new (std::nothrow) MaterialDesc();
    if (record == nullptr)
        return nullptr;
    try
    {
        records.emplace(record, Holders{0, true});
    }
    catch (...)
    {
        delete record;
        return nullptr;
    }
    return record;
}

// Only the address is compared: the pointer may be stale or the host's own.
bool MaterialRecords::Destroy(const MaterialDesc* record)
{
    const auto found = records.find(record);
    if (found == records.end() || !found->second.registered)
        return false;
    found->second.registered = false;
    FreeIfUnused(found);
    return true;
}

void MaterialRecords::Hold(const MaterialDesc* record)
{
    const auto found = records.find(record);
    if (found != records.end())
        ++found->second.characters;
}

void MaterialRecords::LetGo(const MaterialDesc* record)
{
    const auto found = records.find(record);
    if (found == records.end())
        return;
    --found->second.characters;
    FreeIfUnused(found);
}

void MaterialRecords::FreeAll()
{
    for (const auto& record : records)
        delete record.first;
    records.clear();
    lastApplied = nullptr;
    keptForLastApplied = nullptr;
}

void MaterialRecords::FreeIfUnused(Records::iterator record)
{
    if (record->second.registered || record->second.characters > 0)
        return;
    if (record->first == lastApplied)
    {
        keptForLastApplied = record->first;
        return;
    }
    delete record->first;
    records.erase(record);
}

void MaterialRecords::FreeKeptForLastApplied()
{
    const auto found = records.find(keptForLastApplied);
    keptForLastApplied = nullptr;
    if (found != records.end())
        FreeIfUnused(found);
}

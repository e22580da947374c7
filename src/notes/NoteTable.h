#pragma once
// The controller's table of note windows: 1001 slots handed out in increasing order and never
// reused within a run. A window's Tag is its slot for life; a deleted note leaves its slot
// empty and `count` never decreases. The numbering is compacted only by a save and the next load.
#include <array>

class TfPostIt;

class NoteTable
{
public:
    static constexpr int kSlots = 1001;

    int count() const { return m_count; }
    bool full() const { return m_count >= kSlots; }
    // The note in `slot`, or nullptr when the slot is empty or outside 0 .. count - 1.
    TfPostIt *at(int slot) const
    {
        return (slot >= 0 && slot < m_count) ? m_slots[static_cast<size_t>(slot)] : nullptr;
    }
    // Hands out slot `count` to the note; -1 when every slot of the run is used.
    int add(TfPostIt *note)
    {
        if (full())
            return -1;
        m_slots[static_cast<size_t>(m_count)] = note;
        return m_count++;
    }
    // Empties the slot and returns what it held.
    TfPostIt *take(int slot)
    {
        TfPostIt *note = at(slot);
        if (note)
            m_slots[static_cast<size_t>(slot)] = nullptr;
        return note;
    }
    // Forgets every slot (the windows are destroyed by their owner) and starts again at 0.
    void reset()
    {
        m_slots.fill(nullptr);
        m_count = 0;
    }
    // Visits slots 0 .. count - 1, skipping empty ones: f(slot, note).
    template <typename F>
    void forEach(F &&f) const
    {
        for (int slot = 0; slot < m_count; ++slot)
            if (TfPostIt *note = m_slots[static_cast<size_t>(slot)])
                f(slot, note);
    }

private:
    std::array<TfPostIt *, kSlots> m_slots{};
    int m_count = 0;
};

#pragma once
// Write groups of the dataset engine: many posts stored as one.
//
// Outside a group every post, delete and emptying is its own transaction,
// synced before the call returns. While a TWriteGroup lives, every write on
// any table file joins one transaction of that file (begun at the file's
// first write in the group), each write in a savepoint of its own: a post
// that is refused, or fails, undoes only itself and leaves the component as
// a failed post always does (the record pending, nothing stored).
//
//   TWriteGroup grupa;
//   for (...) {
//       t.Insert(); ...; t.Post(); // stored in the group
//   }
//   grupa.Commit();                // every file committed and synced
//
// - Reads inside the group see its writes, through every component.
// - Commit commits the files one after another in the order of their first
//   write, each with one sync. A file whose commit fails is rolled back with
//   every file after it, and the failure is raised.
// - A group left without Commit (by an exception or a return) rolls every
//   file back, and every table component on those files is read again from
//   what the files hold; a component in edit or insert keeps its record.
//   The row ids the undone rows took are not given again in this run.
// - A process killed (or a power cut) before Commit leaves nothing of the
//   group in any file.
// - A group made while another lives joins it: only the outermost Commit
//   stores anything. An inner group left without Commit undoes the whole
//   group at once; from then on writes of the group raise, and so does the
//   outermost Commit.
// - When SQLite itself drops a file's transaction (a full disk, an I/O
//   error), the whole group is undone the same way.
// - A file written in the group stays open until the group ends, also when
//   its components close it or switch to another file; a file opened during
//   the group joins it at its first write.
// - The data module's flush after a post (FlushBuffers) stores nothing
//   early: it only returns the component to browse state.

#include "Table.h"

namespace kal {

namespace db_detail {
struct WriteGroupState;
}

class TWriteGroup {
public:
    TWriteGroup();
    // Without Commit: rolls the whole group back (see above). Never raises.
    ~TWriteGroup();
    TWriteGroup(const TWriteGroup&) = delete;
    TWriteGroup& operator=(const TWriteGroup&) = delete;

    // The outermost group stores every file's writes; an inner one leaves
    // that to the outermost. Raises when the group's work was undone.
    void Commit();
    // False once the group's work was undone (its writes are gone).
    bool Intact() const;
    // True while a group lives and is not paused.
    static bool Active();

private:
    // Every component on a file the group undid shows what the file holds.
    static void refreshUndone(db_detail::WriteGroupState& group) noexcept;

    db_detail::WriteGroupState* m_state;
    bool m_outer = false;
    bool m_committed = false;
};

// While alive, writes are stored one by one as outside any group, except on
// the files the paused group has already written, whose writes still join
// it. Meant for what the user saves in a window opened in the middle of a
// group's work (a record completed by hand): it stays stored whatever
// becomes of the group. A group made during the pause is a group of its own.
class TWriteGroupPause {
public:
    TWriteGroupPause();
    ~TWriteGroupPause();
    TWriteGroupPause(const TWriteGroupPause&) = delete;
    TWriteGroupPause& operator=(const TWriteGroupPause&) = delete;

private:
    db_detail::WriteGroupState* m_paused;
};

} // namespace kal

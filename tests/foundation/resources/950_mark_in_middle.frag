first part
//~ everything after the mark is ignored
~ even a second mark

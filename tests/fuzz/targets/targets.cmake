# One fuzz target per kind of input the program reads; seeds/NAME holds its seed corpus.
set(QUILLOMI_FUZZ_TARGETS
    stored_record
    registry_file
    language_file
    phrase_file
    tour_file
    location_file
    character_file
    svg_part
    speech_tags
    alarm_links
    balloon_layout)

# The fuzz targets; each has tests/fuzz/NAME/ with fuzz_NAME.cpp, its seed
# corpus (corpus/) and its dictionary (NAME.dict).
set(FUZZ_TARGETS
    sound_format
    inf_option_patch
    hardware_id
    source_dir
    command_line
    profiles
    iso_image)

# The release target: `cmake --build build --target release-bundle` makes, in build/release/,
#   Plumeo.app/                 the relocatable bundle (bin/plumeo, share/…, signature/)
#   Plumeo-<version>.zip        the archive the updater downloads
#   Plumeo-<version>.json       the manifest naming it, with its SHA-256 and build number
# Configure with -DPLUMEO_SIGNING_KEY=<private key made by plumeo-sign keygen> and
# -DPLUMEO_RELEASE_BASE_URL=<https URL of the folder that will serve the archive>.
set(PLUMEO_RELEASE_BASE_URL "" CACHE STRING "https URL of the folder that serves the release archive")
set(PLUMEO_SIGNING_KEY "" CACHE FILEPATH "Ed25519 private key (plumeo-sign keygen) that signs the release")
set(PLUMEO_RELEASE_NOTES_FR "" CACHE FILEPATH "Release notes in French (text file, optional)")
set(PLUMEO_RELEASE_NOTES_EN "" CACHE FILEPATH "Release notes in English (text file, optional)")

add_custom_target(release-bundle
    COMMAND "${CMAKE_COMMAND}"
        "-DPLUMEO_EXECUTABLE=$<TARGET_FILE:plumeo>"
        "-DSIGN_TOOL=$<TARGET_FILE:plumeo-sign>"
        "-DSIGNING_KEY=${PLUMEO_SIGNING_KEY}"
        "-DBASE_URL=${PLUMEO_RELEASE_BASE_URL}"
        "-DVERSION=${PROJECT_VERSION}"
        "-DBUILD_NUMBER=${PLUMEO_BUILD_NUMBER}"
        "-DNOTES_FR=${PLUMEO_RELEASE_NOTES_FR}"
        "-DNOTES_EN=${PLUMEO_RELEASE_NOTES_EN}"
        "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
        "-DOUTPUT_DIR=${CMAKE_BINARY_DIR}/release"
        -P "${PROJECT_SOURCE_DIR}/cmake/MakeReleaseBundle.cmake"
    DEPENDS plumeo plumeo-sign
    VERBATIM
    COMMENT "Making the signed release bundle, its archive and its manifest")

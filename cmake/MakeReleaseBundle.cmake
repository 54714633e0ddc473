# Run by the release-bundle target (ReleaseBundle.cmake) with cmake -P.
cmake_minimum_required(VERSION 3.25)

foreach(var PLUMEO_EXECUTABLE SIGN_TOOL VERSION BUILD_NUMBER SOURCE_DIR OUTPUT_DIR)
    if(NOT ${var})
        message(FATAL_ERROR "release-bundle: ${var} is not set")
    endif()
endforeach()
if(NOT SIGNING_KEY OR NOT EXISTS "${SIGNING_KEY}")
    message(FATAL_ERROR "release-bundle: configure with -DPLUMEO_SIGNING_KEY=<key file> "
                        "(make one with: plumeo-sign keygen <key file>)")
endif()
# The updater refuses plain http except on this machine; a manifest it would refuse is no use.
if(NOT BASE_URL MATCHES "^https://[^/]+" AND NOT BASE_URL MATCHES "^http://(localhost|127\\.[0-9.]+|\\[::1\\])[:/]")
    message(FATAL_ERROR "release-bundle: configure with -DPLUMEO_RELEASE_BASE_URL=https://…")
endif()
string(REGEX REPLACE "/+$" "" BASE_URL "${BASE_URL}")

set(bundle "${OUTPUT_DIR}/Plumeo.app")
set(archive_name "Plumeo-${VERSION}.zip")
file(REMOVE_RECURSE "${bundle}" "${OUTPUT_DIR}/${archive_name}" "${OUTPUT_DIR}/Plumeo-${VERSION}.json")
file(MAKE_DIRECTORY "${bundle}/bin" "${bundle}/share/applications"
     "${bundle}/share/icons/hicolor/256x256/apps" "${bundle}/share/icons/hicolor/scalable/apps")

# Everything the program reads is compiled into it, and Qt comes from the system, so the bundle
# runs from any folder: the executable, plus what a desktop needs to show it.
file(COPY_FILE "${PLUMEO_EXECUTABLE}" "${bundle}/bin/plumeo")
file(CHMOD "${bundle}/bin/plumeo" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(app_id com.vantle.plumeo)
file(COPY_FILE "${SOURCE_DIR}/data/${app_id}.desktop" "${bundle}/share/applications/${app_id}.desktop")
foreach(icon 256x256/apps/${app_id}.png scalable/apps/${app_id}.svg)
    file(COPY_FILE "${SOURCE_DIR}/data/icons/hicolor/${icon}" "${bundle}/share/icons/hicolor/${icon}")
endforeach()

execute_process(COMMAND "${SIGN_TOOL}" sign "${SIGNING_KEY}" "${bundle}"
                RESULT_VARIABLE signed OUTPUT_VARIABLE identity)
if(NOT signed EQUAL 0)
    message(FATAL_ERROR "release-bundle: signing failed")
endif()
message(STATUS "Signed ${bundle}\n${identity}")

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${archive_name}" --format=zip Plumeo.app
                WORKING_DIRECTORY "${OUTPUT_DIR}" RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "release-bundle: could not make ${archive_name}")
endif()
file(SHA256 "${OUTPUT_DIR}/${archive_name}" digest)

function(json_string out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\t" "\\t" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

string(TIMESTAMP published "%Y-%m-%dT%H:%M:%SZ" UTC)
set(manifest "{}")
json_string(value "${VERSION}")
string(JSON manifest SET "${manifest}" version "${value}")
string(JSON manifest SET "${manifest}" build "${BUILD_NUMBER}")
json_string(value "${BASE_URL}/${archive_name}")
string(JSON manifest SET "${manifest}" url "${value}")
json_string(value "${digest}")
string(JSON manifest SET "${manifest}" sha256 "${value}")
json_string(value "${published}")
string(JSON manifest SET "${manifest}" published_at "${value}")
foreach(lang fr en)
    string(TOUPPER "${lang}" upper)
    if(NOTES_${upper})
        file(READ "${NOTES_${upper}}" notes)
        json_string(value "${notes}")
        string(JSON manifest SET "${manifest}" "notes_${lang}" "${value}")
    endif()
endforeach()
file(WRITE "${OUTPUT_DIR}/Plumeo-${VERSION}.json" "${manifest}\n")
message(STATUS "Release ${VERSION} (${BUILD_NUMBER}): ${OUTPUT_DIR}/${archive_name}, sha256 ${digest}")

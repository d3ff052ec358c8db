namespace kvr::io {

// The library's version text, as the build stamps it.
const char* versionText()
{
    return KVR_VERSION_TEXT;
}

} // namespace kvr::io

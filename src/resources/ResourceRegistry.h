#pragma once

class HtmlLog;

// The named textures, shader programs and effects of the scene. Only the holder for now:
// the collections arrive with the resources they hold.
class ResourceRegistry {
public:
    explicit ResourceRegistry(HtmlLog& log);

    ResourceRegistry(const ResourceRegistry&) = delete;
    ResourceRegistry& operator=(const ResourceRegistry&) = delete;

private:
    HtmlLog& log;
};

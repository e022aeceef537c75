#include "resources/ResourceRegistry.h"

ResourceRegistry::ResourceRegistry(HtmlLog& log) : log(log) {}

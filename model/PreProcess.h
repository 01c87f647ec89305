#pragma once

#include "engine/EngineContext.h"
#include "kiln/base/Element.h"
#include "model/WorkerPool.h"

#include <vector>

// The pre-process of a body: every text node of an XHTML element below it,
// outside "ruby" elements, page breaks, "script" and "style" elements and
// outside other vocabularies (SVG, MathML; XHTML in their foreignObject
// again), is handed to the word-division engine and gets its division marks
// and ruby notation. Character and entity references stay atomic (the engine
// never sees them), and the author's "_", "~", "｜" and "＼" are written
// escaped, so that the post-process gives them back: also in ruby elements,
// page breaks and CDATA sections, whose text is not divided. No node is
// added or removed.
void preProcessBody(KILN::Element& body, const EngineContext& context);
// The same on the pool's workers, each dividing with its own context
// (contexts[worker]): a large body is divided in batches of text nodes at
// once, with the result a single context gives, a small one by the caller,
// which is the pool's worker number worker or, outside the pool, waits for it.
void preProcessBody(KILN::Element& body, const std::vector<const EngineContext*>& contexts, WorkerPool& pool,
                    unsigned worker);

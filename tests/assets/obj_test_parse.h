// The OBJ reader tests' way to read a text that must be accepted.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "assets/obj_parser.h"

inline zelFramework::ObjMesh parse(const std::string& text) {
    zelFramework::ObjMesh mesh;
    std::string problem;
    EXPECT_TRUE(zelFramework::parseObjText(text.data(), text.size(), mesh, &problem)) << problem;
    return mesh;
}

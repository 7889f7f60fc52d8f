#include "length_variant.h"

#include <QByteArray>
#include <QString>
#include <algorithm>

#include "entry/entry_errors.h"
#include "entry/word_reader.h"
#include "project/data_file_reader.h"
#include "project/data_file_writer.h"
#include "project/program_data.h"
#include "project/wall_length.h"

namespace korvel::cli {

struct LengthVariantBuilder::Model {
    explicit Model(const std::string& file) : path(QString::fromStdString(file)) {}

    QString path;
    TProgramTables tables;
    TProgramData project{tables};
    std::vector<SectionOutline> sections;
    int unitSystem = 1;

    // Reads the file and calls visit(stage) with each section in the project:
    // stage 0 for an unstaged file (whose long-term section, if any, shares the
    // first section's tables), 1 to StageCount for the stages of a staged file.
    template <typename Visit>
    void ForEachSection(Visit visit) {
        const TReadResult read = project.CreateFromFile(path);
        if (!read.Complete)
            throw LengthVariantError(QString(read.Message).replace(u'\r', u' ').toStdString());
        unitSystem = project.UnitSystem();
        if (project.StageCount <= 1 || project.LongTermAnalysis) {
            visit(0);
            return;
        }
        TWordReader words(path);
        TDataFileReader reader(project, words);
        const int stages = project.StageCount;
        for (int stage = 1; stage <= stages; ++stage) {
            reader.ReadSection(TSectionKind::kStage);
            project.FillUpTables();
            project.CurrentStage = stage;
            visit(stage);
        }
    }

    SectionOutline Outline() const { return OutlineOf(project); }
};

LengthVariantBuilder::LengthVariantBuilder(const std::string& dataFile)
    : model_(std::make_unique<Model>(dataFile)) {
    try {
        model_->ForEachSection([&](int) {
            model_->sections.push_back(model_->Outline());
            if (model_->project.LongTermAnalysis) model_->sections.push_back(model_->Outline());
        });
    } catch (const EKorvelError& e) {
        throw LengthVariantError(QString(e.Message()).replace(u'\r', u' ').toStdString());
    }
}

LengthVariantBuilder::~LengthVariantBuilder() = default;

int LengthVariantBuilder::UnitSystem() const {
    return model_->unitSystem;
}

const std::vector<SectionOutline>& LengthVariantBuilder::Sections() const {
    return model_->sections;
}

LengthVariant LengthVariantBuilder::Build(double length, double deepestWall) {
    LengthVariant variant;
    QByteArray text;
    try {
        model_->ForEachSection([&](int stage) {
            TProgramData& p = model_->project;
            const std::string where = stage > 0 ? "stage " + std::to_string(stage) + ": " : "";
            const VariantSection section =
                ApplyWallLength(p, length, deepestWall, variant.notes, where);
            if (stage == 0) {
                text = p.DataFileText();
                variant.sections.push_back(section);
                if (p.LongTermAnalysis) variant.sections.push_back(section);
                return;
            }
            TDataFileWriter writer(p);
            writer.WriteSection(TSectionKind::kStage);
            text += writer.Text();
            variant.sections.push_back(section);
        });
    } catch (const EKorvelError& e) {
        throw LengthVariantError(QString(e.Message()).replace(u'\r', u' ').toStdString());
    }
    variant.text = text.toStdString();
    // A note that every stage has alike is said once, without the stage.
    const int stages = static_cast<int>(variant.sections.size());
    if (stages > 1 && model_->project.StageCount > 1) {
        std::vector<std::string> merged;
        for (const std::string& n : variant.notes) {
            const std::string text = n.substr(n.find(": ") + 2);
            int count = 0;
            for (const std::string& m : variant.notes)
                count += m.size() > text.size() && m.ends_with(": " + text);
            const std::string kept = count == stages ? text : n;
            if (std::find(merged.begin(), merged.end(), kept) == merged.end())
                merged.push_back(kept);
        }
        variant.notes = merged;
    }
    return variant;
}

}  // namespace korvel::cli
